#include "app/cli/PublishCommand.h"

#include "app/cli/ProgressLine.h"
#include "app/cli/TerminalText.h"
#include "app/cli/VideoFindings.h"
#include "persist/ProjectFile.h"
#include "publish/Publisher.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

struct PublishArgs {
    std::string project;
    std::string output;
    bool muted = false;
    bool lockFullScreen = false;
    std::string manualSize; // WxH
    std::string manualTilt;
    bool noScramble = false;
    bool strict = false;
};

constexpr std::string_view kCommand = "quillmark publish";

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "700x350" into its two digit texts.
std::optional<std::pair<std::string, std::string>> splitSize(std::string_view size) {
    const std::size_t x = size.find_first_of("xX");
    if (x == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view width = size.substr(0, x);
    const std::string_view height = size.substr(x + 1);
    if (!allDigits(width) || !allDigits(height)) {
        return std::nullopt;
    }
    return std::pair{std::string(width), std::string(height)};
}

constexpr std::string_view kPrefix = "quillmark publish: ";

// Every line of a message box's text on a line of its own, prefixed as the
// other commands' messages are, with no control byte of a path or name from
// the project reaching the terminal.
void printMessageLines(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::cerr << kPrefix << terminalSafe(text.substr(0, end)) << '\n';
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    }
}

// The person's side of publishing on a terminal: messages go to standard
// error, the save dialog's answer is the OUTPUT argument, the videos' findings
// are printed as warnings (with --strict an error stops publishing) and the
// copies show a progress line when standard error is a terminal.
class TerminalPublishUi : public PublishUi {
  public:
    TerminalPublishUi(std::string pagePath, bool strict)
        : pagePath_(std::move(pagePath)), strict_(strict),
          progress_(std::cerr, ::isatty(STDERR_FILENO) == 1) {}

    void showMessage(std::string_view caption, std::string_view text, MessageIcon) override {
        // Success is told once, by the summary on standard output.
        if (text == kSucceededText) {
            return;
        }
        printMessageLines(caption);
        printMessageLines(text);
    }
    std::optional<std::string> choosePageFile(const SaveDialogRequest&) override {
        return pagePath_;
    }
    void stopPreview() override {}
    void playTick() override {}

    bool acceptVideos(const VideoPaths& videos) override {
        const media::MediaProbe* probe = loadProbeOrWarn(kCommand);
        if (probe == nullptr) {
            return !strict_;
        }
        std::vector<fs::path> paths;
        for (int number = 1; number <= 3; ++number) {
            if (!videos.path(number).empty()) {
                paths.emplace_back(videos.path(number));
            }
        }
        const auto checks = checkAndWarn(*probe, paths, kCommand, std::cerr);
        if (strict_ && media::anyFinding(checks, media::Level::Error)) {
            std::cerr << kCommand << ": stopped: --strict and a video has an error\n";
            return false;
        }
        return true;
    }

    bool showProgress(std::uint64_t done, std::uint64_t total) override {
        progress_.show(done, total);
        return true;
    }

  private:
    std::string pagePath_;
    bool strict_;
    ProgressLine progress_;
};

// The refusal of an extension the page cannot name, said in English too.
void explainRefusal(const VideoPaths& videos) {
    for (int number = 1; number <= 3; ++number) {
        const std::string& path = videos.path(number);
        if (path.empty()) {
            continue;
        }
        for (const media::Finding& finding : media::findingsFor(path, {}, {})) {
            if (finding.code == "container") {
                printFinding(std::cerr, kCommand, path, finding);
            }
        }
    }
}

int exitCodeOf(const PublishResult& result) {
    switch (result.outcome) {
    case PublishOutcome::Published:
        return kOk;
    case PublishOutcome::Stopped:
        return kStopped;
    case PublishOutcome::FileSystemFailure:
        return kFileSystem;
    }
    return kFileSystem;
}

void printWhereToLook(const fs::path& pagePath) {
    const fs::path folder = pagePath.parent_path();
    const std::string folderText = terminalSafe(folder.string());
    const std::string pageText = terminalSafe(pagePath.filename().string());
    std::cout << kSucceededText << ": " << folderText << '\n'
              << "Presentation page: " << pageText << '\n'
              << "View it with: quillmark serve " << folderText << "  (then open " << pageText
              << " at the address it prints)\n";
}

// A folder (an existing one, or a name ending in '/') receives index.html.
fs::path pageOf(const std::string& output) {
    fs::path page(output);
    std::error_code code;
    if (page.filename().empty() || fs::is_directory(page, code)) {
        page /= "index.html";
    }
    return page;
}

int publishProject(const PublishArgs& args) {
    std::error_code code;
    const fs::path currentDir = fs::current_path(code);
    Project project;
    project.options = PlayerOptions::fresh(currentDir.string());
    const ProjectReadResult read = readProjectFile(args.project, project, currentDir.string());
    if (!read.applied) {
        std::cerr << kPrefix << terminalSafe(read.error ? read.error->path : args.project) << ": "
                  << (read.error ? read.error->reason : "cannot be read") << '\n';
        return kFileSystem;
    }
    TransientSettings& transient = project.options.transient;
    transient.muted = args.muted;
    transient.lockFullScreen = args.lockFullScreen;
    if (const auto size = splitSize(args.manualSize)) {
        transient.manualSize = true;
        transient.manualWidth = size->first;
        transient.manualHeight = size->second;
    }
    transient.manualTilt = args.manualTilt;

    // Relative names are resolved against the current directory, as the
    // dialog would have answered with a full path.
    const fs::path page = fs::absolute(pageOf(args.output), code);
    TerminalPublishUi ui(page.string(), args.strict);
    const PublishResult result = Publisher(ui, {.scramble = !args.noScramble}).publish(project);
    if (result.outcome == PublishOutcome::Published) {
        printWhereToLook(result.pagePath);
    }
    if (result.stopReason == StopReason::UnsupportedFormat) {
        explainRefusal(project.videos);
    }
    return exitCodeOf(result);
}

} // namespace

CliCommand addPublishCommand(CLI::App& app) {
    auto args = std::make_shared<PublishArgs>();
    CLI::App* node = app.add_subcommand(
        "publish", "Publish a project as a web package, as the window's "
                   "\"Опубликовать видео для Web\" does, with OUTPUT.html as the presentation "
                   "page. Icon codes 0 become 200 and the save folder moves only in memory: "
                   "the project file is not rewritten.");
    node->add_option("PROJECT", args->project, "Project file (.pp5)")->required();
    node->add_option("OUTPUT", args->output,
                     "Presentation page to write; its folder receives the package (\".html\" "
                     "is appended unless the name ends in it). A folder (existing, or a name "
                     "ending in \"/\") gets index.html in it")
        ->required();
    node->add_flag("--muted", args->muted, "The video starts muted");
    node->add_flag("--lock-fullscreen", args->lockFullScreen,
                   "The player locks its full-screen control");
    node->add_option("--manual-size", args->manualSize,
                     "Player size WxH instead of the project's window size (at least 320x100)")
        ->check(CLI::Validator(
            [](const std::string& value) {
                return splitSize(value) ? std::string() : "expected WIDTHxHEIGHT in pixels";
            },
            "", "size"))
        ->type_name("WxH");
    node->add_option("--manual-tilt", args->manualTilt,
                     "Vertical limit in degrees (30 to 90) when the project's limit is auto or "
                     "manual")
        ->check(CLI::Validator(
            [](const std::string& value) {
                return allDigits(value) ? std::string() : "expected whole degrees";
            },
            "", "degrees"))
        ->type_name("DEG");
    node->add_flag("--no-scramble", args->noScramble, "Leave js/ctr/cn0.js readable");
    node->add_flag("--strict", args->strict,
                   "Stop before writing anything when a video has an error finding (see "
                   "`quillmark check`)");
    node->footer("Every video is checked first and its findings printed as warnings. An MP4 or "
                 "QuickTime video whose index is at the end is copied with the index first; an "
                 "H.264/AAC .mov or .qt is named video/mp4 in the page.\nExit codes: 0 "
                 "published, 1 stopped by a check (no video, video not found, unsupported video "
                 "format, --strict with an error finding), 2 usage, 3 a file could not be read, "
                 "written or copied.");
    return {node, [args] { return publishProject(*args); }};
}

} // namespace qm::cli
