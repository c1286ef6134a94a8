#include "app/cli/NewCommand.h"

#include "app/cli/VideoFindings.h"
#include "persist/ProjectFile.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

struct NewArgs {
    std::string project;
    std::vector<std::string> videos;
    bool force = false;
};

constexpr std::string_view kCommand = "quillmark new";

void printFailure(std::string_view path, std::string_view reason) {
    std::cerr << kCommand << ": " << path << ": " << reason << '\n';
}

// Every video must be an existing file; a typo would otherwise give a project
// whose publication fails later, far from the cause.
bool videosExist(const std::vector<fs::path>& videos) {
    bool allThere = true;
    for (const fs::path& video : videos) {
        std::error_code code;
        if (!fs::is_regular_file(video, code)) {
            printFailure(pathText(video), "no such video file");
            allThere = false;
        }
    }
    return allThere;
}

Project newProject(const fs::path& currentDir, const std::vector<fs::path>& videos) {
    Project project;
    project.options = PlayerOptions::fresh(pathText(currentDir));
    // As after choosing the first video in the window: the load folder follows it.
    project.options.loadDir = pathText(videos.front().parent_path());
    for (std::size_t i = 0; i < videos.size(); ++i) {
        project.videos.set(static_cast<int>(i + 1), pathText(videos[i]));
    }
    return project;
}

int writeNewProject(const NewArgs& args) {
    std::error_code code;
    const fs::path currentDir = fs::current_path(code);
    if (code) {
        printFailure(".", "cannot read the current directory: " + code.message());
        return kFileSystem;
    }
    std::vector<fs::path> videos;
    for (const std::string& video : args.videos) {
        videos.push_back((currentDir / video).lexically_normal());
    }
    if (!videosExist(videos)) {
        return kStopped;
    }
    const fs::path projectPath =
        (currentDir / withProjectExtension(args.project)).lexically_normal();
    if (!args.force && fs::exists(fs::symlink_status(projectPath, code))) {
        printFailure(pathText(projectPath), "already exists (use --force to replace it)");
        return kStopped;
    }
    const Project project = newProject(currentDir, videos);
    // A path holding tag text would be read back as another path, so such a
    // project is refused rather than written.
    const EncodedText text = projectFileText(project);
    if (!text.tagTextFields.empty()) {
        for (const std::string& field : text.tagTextFields) {
            printFailure(pathText(projectPath),
                         field + " holds text the project file would read as a tag");
        }
        return kStopped;
    }
    const ProjectWriteResult written = writeProjectFile(projectPath, project);
    if (!written.ok()) {
        printFailure(written.error->path, written.error->reason);
        return kFileSystem;
    }
    std::cout << "Wrote " << pathText(projectPath) << '\n';
    // What will go wrong on the web is said now, not first at publishing.
    if (const media::MediaProbe* probe = loadProbeOrWarn(kCommand)) {
        checkAndWarn(*probe, videos, kCommand, std::cerr);
    }
    return kOk;
}

} // namespace

CliCommand addNewCommand(CLI::App& app) {
    auto args = std::make_shared<NewArgs>();
    CLI::App* node = app.add_subcommand(
        "new", "Write a project with default options for a video given as up to three files "
               "(alternative formats of the same video). Paths are stored absolute; the load "
               "folder is the first video's folder, the save folder the current directory.");
    node->add_option("PROJECT", args->project,
                     "Project file to write (\".pp5\" is appended unless the name ends in it)")
        ->required();
    node->add_option("VIDEOS", args->videos, "VIDEO1 [VIDEO2 [VIDEO3]]")
        ->required()
        ->expected(1, 3);
    node->add_flag("--force", args->force, "Replace an existing project file");
    node->footer("Exit codes: 0 written, 1 stopped by a check (a video is missing, the project "
                 "exists, a path holds tag text such as \"</\"), 2 usage, 3 the file could "
                 "not be written.");
    return {node, [args] { return writeNewProject(*args); }};
}

} // namespace qm::cli
