#pragma once
// Runs the quillmark executable as a user would, for the command-line tests.

#include "TestFiles.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qm::test {

struct CliResult {
    int exitCode = -1; // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs quillmark with the arguments in `workDir` and waits for it to end.
CliResult runQuillmark(const std::vector<std::string>& args, const std::filesystem::path& workDir);

// A quillmark process left running (the server); stopped with SIGTERM on
// destruction when still alive. Its output goes to files in `logDir`.
class RunningQuillmark {
  public:
    RunningQuillmark(const std::vector<std::string>& args, const std::filesystem::path& logDir);
    RunningQuillmark(const RunningQuillmark&) = delete;
    RunningQuillmark& operator=(const RunningQuillmark&) = delete;
    ~RunningQuillmark();

    // Waits until standard output holds `marker` and returns what it holds
    // then; returns empty when the process ended first or after a minute.
    std::string waitForOutput(const std::string& marker);
    // Sends SIGTERM and waits for the end; the exit code or -1.
    int terminate();
    std::string output() const;
    std::string errors() const;

  private:
    int pid_ = -1;
    std::filesystem::path out_;
    std::filesystem::path err_;
};

} // namespace qm::test
