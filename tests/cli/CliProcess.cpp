#include "CliProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace qm::test {
namespace {

namespace fs = std::filesystem;

int spawnQuillmark(const std::vector<std::string>& args, const fs::path& workDir,
                   const fs::path& out, const fs::path& err) {
    std::vector<std::string> words{QM_EXE};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, QM_EXE, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error(std::string("cannot start ") + QM_EXE);
    }
    return pid;
}

int waitForExit(int pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace

CliResult runQuillmark(const std::vector<std::string>& args, const fs::path& workDir) {
    const fs::path out = workDir / ".quillmark.out";
    const fs::path err = workDir / ".quillmark.err";
    const int pid = spawnQuillmark(args, workDir, out, err);
    CliResult result{waitForExit(pid), readBytes(out), readBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return result;
}

RunningQuillmark::RunningQuillmark(const std::vector<std::string>& args, const fs::path& logDir)
    : out_(logDir / "server.out"), err_(logDir / "server.err") {
    pid_ = spawnQuillmark(args, logDir, out_, err_);
}

RunningQuillmark::~RunningQuillmark() {
    if (pid_ > 0) {
        terminate();
    }
}

std::string RunningQuillmark::waitForOutput(const std::string& marker) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < giveUp) {
        const std::string text = output();
        if (text.find(marker) != std::string::npos) {
            return text;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

int RunningQuillmark::terminate() {
    if (pid_ <= 0) {
        return -1;
    }
    kill(pid_, SIGTERM);
    const int code = waitForExit(pid_);
    pid_ = -1;
    return code;
}

std::string RunningQuillmark::output() const {
    return readBytes(out_);
}
std::string RunningQuillmark::errors() const {
    return readBytes(err_);
}

} // namespace qm::test
