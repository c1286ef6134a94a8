#include "publish/Publisher.h"

#include "model/TextForms.h"
#include "publish/ConfigScriptWriter.h"
#include "publish/PackageLayout.h"
#include "publish/Payloads.h"
#include "publish/PlayerPageBuilder.h"
#include "publish/PresentationPageWriter.h"
#include "publish/ScriptScrambler.h"

#include <algorithm>
#include <cctype>
#include <variant>

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

std::optional<FileError> firstMissingVideo(const VideoPaths& videos) {
    for (int number = 1; number <= 3; ++number) {
        const std::string& path = videos.path(number);
        std::error_code code;
        if (!path.empty() && !fs::is_regular_file(path, code)) {
            return FileError{
                path, (code ? code : std::make_error_code(std::errc::no_such_file_or_directory))
                          .message()};
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

FileResult writeScriptsAndStyles(const fs::path& outputFolder) {
    for (const PayloadFile& file : kScriptFiles) {
        if (FileResult failed = writePayload(outputFolder, file.number, file.path)) {
            return failed;
        }
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

FileResult writeImages(const fs::path& outputFolder) {
    for (const PayloadFile& file : kImageFiles) {
        if (FileResult failed = writePayload(outputFolder, file.number, file.path)) {
            return failed;
        }
    }
    return std::nullopt;
}

FileResult copyVideos(const fs::path& outputFolder, const VideoPaths& videos) {
    for (int number = 1; number <= 3; ++number) {
        const std::string& path = videos.path(number);
        if (path.empty()) {
            continue;
        }
        const fs::path target = outputFolder / PlayerPageBuilder::fileName(path);
        if (FileResult failed = copyFileReplacing(path, target)) {
            return failed;
        }
    }
    return std::nullopt;
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
    // Steps 1-3: the first video must be named and exist.
    const VideoPaths videos = publishedVideos(project.videos);
    if (videos.path(1).empty()) {
        ui_.showMessage(kNoVideoCaption, kNoVideoText, MessageIcon::Exclamation);
        return stopped(StopReason::NoVideo);
    }
    std::error_code code;
    if (!fs::is_regular_file(videos.path(1), code)) {
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
    if (std::optional<FileError> missing = firstMissingVideo(videos)) {
        return fail(std::move(*missing));
    }

    // Steps 4-6: the preview stops; the person names the presentation page.
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
    project.options.saveDir = outputFolder.string();

    auto failed = [&](FileError failure) { return fail(std::move(failure), pagePath); };

    // Steps 7-10: launchers, scripts, style sheet and images.
    if (FileResult f = ensureFolder(outputFolder)) {
        return failed(*f);
    }
    if (FileResult f = PresentationPageWriter::writeLaunchers(outputFolder, pageName)) {
        return failed(*f);
    }
    if (FileResult f = writeScriptsAndStyles(outputFolder)) {
        return failed(*f);
    }
    if (FileResult f = writeHotSpotIcons(outputFolder, project.options.hsIcons)) {
        return failed(*f);
    }
    if (FileResult f = writeImages(outputFolder)) {
        return failed(*f);
    }

    // Step 11: the published values; a too small manual size is reported
    // and the list size used.
    const ResolvedOptions resolved = resolvePublishedOptions(project.options);
    if (resolved.manualSizeRejected) {
        ui_.showMessage(kManualSizeCaption, kManualSizeMessage, MessageIcon::Information);
    }
    const PublishedOptions& options = resolved.values;

    // Steps 12-18: videos, player page, configuration script, presentation
    // page, start picture, scrambling.
    if (FileResult f = copyVideos(outputFolder, videos)) {
        return failed(*f);
    }
    const PlayerPageFields page{std::get<std::string>(sources), project.options.htmlTitle,
                                options.muted, options.htmlBgColor};
    if (FileResult f = PlayerPageBuilder::write(outputFolder, page)) {
        return failed(*f);
    }
    if (FileResult f = ConfigScriptWriter::write(outputFolder, options, project.hotSpots)) {
        return failed(*f);
    }
    const PresentationFields presentation{options.fullScreen, options.htmlBgColor, options.renderX,
                                          options.renderY};
    if (FileResult f = PresentationPageWriter::writePage(pagePath, presentation)) {
        return failed(*f);
    }
    if (FileResult f = writePayload(outputFolder, kStartPicturePayload, kStartPictureName)) {
        return failed(*f);
    }
    if (settings_.scramble) {
        if (FileResult f =
                ScriptScrambler::scrambleFile(ConfigScriptWriter::scriptPath(outputFolder))) {
            return failed(*f);
        }
    }

    // Step 19.
    ui_.playTick();
    ui_.showMessage(kSucceededCaption, kSucceededText, MessageIcon::Information);
    return {PublishOutcome::Published, std::nullopt, std::nullopt, pagePath};
}

} // namespace qm
