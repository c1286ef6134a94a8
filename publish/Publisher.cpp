#include "publish/Publisher.h"

#include "model/TextForms.h"
#include "publish/ConfigScriptWriter.h"
#include "publish/PackageLayout.h"
#include "publish/Payloads.h"
#include "publish/PlayerPageBuilder.h"
#include "publish/PresentationPageWriter.h"
#include "publish/ScriptScrambler.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <variant>
#include <vector>

namespace qm {
namespace fs = std::filesystem;

namespace {

PublishResult stopped(StopReason reason, fs::path pagePath = {}) {
    return {PublishOutcome::Stopped, reason, std::nullopt, std::move(pagePath)};
}

// The videos as publishing reads them: VIDEO1 trimmed, the others as stored.
VideoPaths publishedVideos(const VideoPaths& stored) {
    VideoPaths videos = stored;
    videos.set(1, std::string(trimBlanks(stored.path(1))));
    return videos;
}

// Every video is read before anything is written: a missing or unreadable
// file, a folder or a device is named with its own reason.
FileResult firstUnusableVideo(const VideoPaths& videos) {
    for (int number = 1; number <= 3; ++number) {
        const std::string& path = videos.path(number);
        if (!path.empty()) {
            if (FileResult unusable = checkSourceFile(path)) {
                return unusable;
            }
        }
    }
    return std::nullopt;
}

fs::path videoCopyPath(const fs::path& outputFolder, const std::string& video) {
    return outputFolder / PlayerPageBuilder::fileName(video);
}

// The folders publishing writes into, the output folder first.
std::vector<fs::path> packageFolders(const fs::path& outputFolder) {
    return {outputFolder, outputFolder / "js", outputFolder / "js" / "build",
            outputFolder / "js" / "ctr", outputFolder / "images"};
}

// Every file publishing writes, in no particular order.
std::vector<fs::path> packageFiles(const fs::path& outputFolder, const fs::path& pagePath,
                                   std::string_view pageName, const VideoPaths& videos) {
    std::vector<fs::path> files = {
        outputFolder / kServerLauncherName,
        outputFolder / PresentationPageWriter::testLauncherName(pageName),
        ConfigScriptWriter::scriptPath(outputFolder),
        pagePath,
    };
    // The player page, the scripts, the images and the start picture.
    for (const PackagePayload& file : packagePayloads()) {
        if (!file.path.empty()) {
            files.push_back(outputFolder / fs::path(file.path));
        }
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        files.push_back(outputFolder / "images" / ("hs" + std::to_string(slot) + ".gif"));
    }
    for (int number = 1; number <= 3; ++number) {
        if (!videos.path(number).empty()) {
            files.push_back(videoCopyPath(outputFolder, videos.path(number)));
        }
    }
    return files;
}

// Checks every path before anything is written, so that a name too long or a
// folder in a file's place does not stop publishing after the videos were
// copied.
FileResult checkPackagePaths(const fs::path& outputFolder, const fs::path& pagePath,
                             std::string_view pageName, const VideoPaths& videos) {
    for (const fs::path& folder : packageFolders(outputFolder)) {
        if (FileResult unusable = checkOutputPath(folder, PathKind::Folder)) {
            return unusable;
        }
    }
    for (const fs::path& file : packageFiles(outputFolder, pagePath, pageName, videos)) {
        if (FileResult unusable = checkOutputPath(file, PathKind::File)) {
            return unusable;
        }
    }
    return std::nullopt;
}

FileResult writePayload(const fs::path& outputFolder, int number, std::string_view relative) {
    const fs::path target = outputFolder / fs::path(relative);
    if (FileResult failed = ensureFolder(target.parent_path())) {
        return failed;
    }
    return writeFileAtomically(target, payload(number));
}

// Every payload of one role at its place, in the order of the list.
FileResult writePayloads(const fs::path& outputFolder, PayloadRole role) {
    for (const PackagePayload& file : packagePayloads()) {
        if (file.role != role) {
            continue;
        }
        if (FileResult failed = writePayload(outputFolder, file.number, file.path)) {
            return failed;
        }
    }
    return std::nullopt;
}

FileResult writeScriptsAndStyles(const fs::path& outputFolder) {
    if (FileResult failed = writePayloads(outputFolder, PayloadRole::Script)) {
        return failed;
    }
    return ensureFolder(outputFolder / "images");
}

FileResult writeHotSpotIcons(const fs::path& outputFolder, HotSpotIcons& icons) {
    for (std::int32_t& code : icons) {
        if (code == 0) {
            code = kFirstIconCode;
        }
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string name = "images/hs" + std::to_string(slot) + ".gif";
        if (FileResult failed =
                writePayload(outputFolder, iconPayloadNumber(icons[slot - 1]), name)) {
            return failed;
        }
    }
    return std::nullopt;
}

struct VideoCopies {
    std::array<VideoCopyPlan, 3> plans;
    std::array<bool, 3> servedAsMp4{};
};

VideoCopies planVideoCopies(const VideoPaths& videos) {
    VideoCopies copies;
    for (int number = 1; number <= 3; ++number) {
        const auto i = static_cast<std::size_t>(number - 1);
        if (!videos.path(number).empty()) {
            copies.plans[i] = planVideoCopy(videos.path(number));
            copies.servedAsMp4[i] = copies.plans[i].servedAsMp4;
        }
    }
    return copies;
}

enum class CopyStatus { Done, Failed, Cancelled };
struct CopyOutcome {
    CopyStatus status = CopyStatus::Done;
    std::optional<FileError> failure;
};

// Every copy is made under a temporary name and staged; progress runs over
// the bytes of all copies together.
CopyOutcome copyVideos(const fs::path& outputFolder, const VideoPaths& videos,
                       const VideoCopies& copies, PublishUi& ui, StagedFiles& staged) {
    std::array<bool, 3> needed{};
    std::uint64_t total = 0;
    for (int number = 1; number <= 3; ++number) {
        const auto i = static_cast<std::size_t>(number - 1);
        const std::string& path = videos.path(number);
        const fs::path target = videoCopyPath(outputFolder, path);
        std::error_code code;
        // A video that already lies in the output folder stays as it is.
        needed[i] =
            !path.empty() && !(fs::exists(target, code) && fs::equivalent(path, target, code));
        total += needed[i] ? copies.plans[i].bytes() : 0;
    }
    std::uint64_t before = 0;
    if (total > 0 && !ui.showProgress(0, total)) {
        return {CopyStatus::Cancelled, std::nullopt};
    }
    for (int number = 1; number <= 3; ++number) {
        const auto i = static_cast<std::size_t>(number - 1);
        if (!needed[i]) {
            continue;
        }
        const fs::path target = videoCopyPath(outputFolder, videos.path(number));
        const fs::path temporary = copyTemporaryBeside(target);
        const AssembleResult result =
            assembleFile(temporary, copies.plans[i].pieces,
                         [&](std::uint64_t done) { return ui.showProgress(before + done, total); });
        if (result.status == AssembleStatus::Cancelled) {
            return {CopyStatus::Cancelled, std::nullopt};
        }
        if (result.status == AssembleStatus::Failed) {
            // The person knows the video's name in the package, not its temporary one.
            FileError failure = *result.error;
            if (failure.path == pathText(temporary)) {
                failure.path = pathText(target);
            }
            return {CopyStatus::Failed, failure};
        }
        staged.add(temporary, target);
        before += copies.plans[i].bytes();
    }
    if (total > 0 && !ui.showProgress(total, total)) {
        return {CopyStatus::Cancelled, std::nullopt};
    }
    return {};
}

bool endsWithHtml(std::string_view name) {
    constexpr std::string_view suffix = ".html";
    if (name.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

Publisher::Publisher(PublishUi& ui, PublishSettings settings) : ui_(ui), settings_(settings) {}

std::string Publisher::failureMessage(const FileError& failure) {
    return std::string(kFailureText) + "\r\n" + failure.path + "\r\n" + failure.reason;
}

std::string Publisher::pageFileName(std::string_view answer) {
    std::string name(trimBlanks(answer));
    if (!name.empty() && !endsWithHtml(name)) {
        name += ".html";
    }
    return name;
}

PublishResult Publisher::publish(Project& project) {
    // Checks: the first video must be named and exist.
    const VideoPaths videos = publishedVideos(project.videos);
    if (videos.path(1).empty()) {
        ui_.showMessage(kNoVideoCaption, kNoVideoText, MessageIcon::Exclamation);
        return stopped(StopReason::NoVideo);
    }
    std::error_code code;
    if (!fs::is_regular_file(videos.path(1), code)) { // the lookup considers ordinary files
        ui_.showMessage(kNoVideoCaption, kVideoNotFoundText, MessageIcon::Exclamation);
        return stopped(StopReason::VideoNotFound);
    }
    // Every video is checked before anything is written, so a refusal leaves
    // no half-made package and no large copies behind.
    const std::variant<std::string, UnsupportedVideo> sources =
        PlayerPageBuilder::buildSourceList(videos);
    if (std::holds_alternative<UnsupportedVideo>(sources)) {
        ui_.showMessage(kUnsupportedCaption, kUnsupportedText, MessageIcon::Information);
        return stopped(StopReason::UnsupportedFormat);
    }
    auto fail = [this](FileError failure, fs::path pagePath = {}) {
        ui_.showMessage(kFailureCaption, failureMessage(failure), MessageIcon::Error);
        return PublishResult{PublishOutcome::FileSystemFailure, std::nullopt, std::move(failure),
                             std::move(pagePath)};
    };
    if (FileResult unusable = firstUnusableVideo(videos)) {
        return fail(std::move(*unusable));
    }

    // What will go wrong with the videos on the web, before anything is asked.
    if (!ui_.acceptVideos(videos)) {
        return stopped(StopReason::Declined);
    }

    // The page's name: the preview stops and the person names the presentation page.
    ui_.stopPreview();
    const std::optional<std::string> answer =
        ui_.choosePageFile({kSaveDialogTitle, kSaveDialogFilter, kSaveDialogPattern,
                            kProposedPageName, project.options.saveDir});
    const std::string chosen = pageFileName(answer.value_or(std::string()));
    if (chosen.empty()) {
        return stopped(StopReason::Cancelled);
    }
    const fs::path pagePath = fs::absolute(fs::path(chosen), code).lexically_normal();
    const fs::path outputFolder = pagePath.parent_path();
    const std::string pageName = pagePath.stem().string();
    const std::string pageFileName = pagePath.filename().string();
    project.options.saveDir = outputFolder.string();

    auto failed = [&](FileError failure) { return fail(std::move(failure), pagePath); };

    if (FileResult f = checkPackagePaths(outputFolder, pagePath, pageName, videos)) {
        return failed(*f);
    }
    // Copies and writes of an earlier publication that was killed.
    for (const fs::path& folder : packageFolders(outputFolder)) {
        removeLeftoverTemporaries(folder);
    }

    std::error_code folderCode;
    const bool folderExisted = fs::is_directory(outputFolder, folderCode);
    if (FileResult f = ensureFolder(outputFolder)) {
        return failed(*f);
    }
    // The video copies come first: they are the long part and the only one
    // the person can cancel. They stay under temporary names until the whole
    // package is written, so a cancelled or failed publication leaves the
    // folder's previous videos as they were, and a cancel writes nothing at all.
    const VideoCopies copies = planVideoCopies(videos);
    StagedFiles staged;
    const CopyOutcome copied = copyVideos(outputFolder, videos, copies, ui_, staged);
    if (copied.status == CopyStatus::Cancelled) {
        if (!folderExisted) {
            fs::remove(outputFolder, folderCode); // only when still empty
        }
        return stopped(StopReason::Cancelled, pagePath);
    }
    if (copied.status == CopyStatus::Failed) {
        return failed(*copied.failure);
    }

    // The fixed files: launchers, scripts, style sheet and images.
    if (FileResult f = PresentationPageWriter::writeLaunchers(outputFolder, pageFileName)) {
        return failed(*f);
    }
    if (FileResult f = writeScriptsAndStyles(outputFolder)) {
        return failed(*f);
    }
    if (FileResult f = writeHotSpotIcons(outputFolder, project.options.hsIcons)) {
        return failed(*f);
    }
    if (FileResult f = writePayloads(outputFolder, PayloadRole::Image)) {
        return failed(*f);
    }

    // The published values; a too small manual size is reported and the
    // window list's size used.
    const ResolvedOptions resolved = resolvePublishedOptions(project.options);
    if (resolved.manualSizeRejected) {
        ui_.showMessage(kManualSizeCaption, kManualSizeMessage, MessageIcon::Information);
    }
    const PublishedOptions& options = resolved.values;

    // The project's files: player page, configuration script (scrambled),
    // presentation page, start picture.
    const auto finalSources = PlayerPageBuilder::buildSourceList(videos, copies.servedAsMp4);
    const PlayerPageFields page{std::get<std::string>(finalSources), project.options.htmlTitle,
                                options.muted, options.htmlBgColor};
    if (FileResult f = PlayerPageBuilder::write(outputFolder, page)) {
        return failed(*f);
    }
    // The script is scrambled before its one write: no plain script is ever
    // left in the package, whenever publishing is stopped.
    const std::string script = ConfigScriptWriter::scriptText(options, project.hotSpots);
    if (FileResult f =
            writeFileAtomically(ConfigScriptWriter::scriptPath(outputFolder),
                                settings_.scramble ? ScriptScrambler::scrambled(script) : script)) {
        return failed(*f);
    }
    const PresentationFields presentation{options.fullScreen, options.htmlBgColor, options.renderX,
                                          options.renderY, project.options.htmlTitle};
    if (FileResult f = PresentationPageWriter::writePage(pagePath, presentation)) {
        return failed(*f);
    }
    if (FileResult f = writePayloads(outputFolder, PayloadRole::StartPicture)) {
        return failed(*f);
    }

    if (FileResult f = staged.commit()) {
        return failed(*f);
    }

    // Done: the tick and the success message, only after a complete package.
    ui_.playTick();
    ui_.showMessage(kSucceededCaption, kSucceededText, MessageIcon::Information);
    return {PublishOutcome::Published, std::nullopt, std::nullopt, pagePath};
}

} // namespace qm
