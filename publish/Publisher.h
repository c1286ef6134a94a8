#pragma once
// The publish command: turns a project into a self-contained web package in
// the folder of the presentation page the person picks.

#include "model/Project.h"
#include "publish/PackageFiles.h"
#include "publish/PublishUi.h"
#include "publish/VideoCopy.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace qm {

inline constexpr std::string_view kNoVideoCaption = "Предупреждение !";
inline constexpr std::string_view kNoVideoText =
    "Видео файл не выбран !\r\nПервый видео файл должен быть выбран !";
inline constexpr std::string_view kVideoNotFoundText = "Видео файл не найден";
inline constexpr std::string_view kUnsupportedCaption = "Внимание !";
inline constexpr std::string_view kUnsupportedText = "Данный формат видео не поддерживается";
inline constexpr std::string_view kSucceededCaption = "Information:";
inline constexpr std::string_view kSucceededText = "Publishing succeeded";
inline constexpr std::string_view kFailureCaption = "Внимание !";
inline constexpr std::string_view kFailureText = "Публикация не завершена.";

inline constexpr std::string_view kSaveDialogTitle = "Publish Html5 web page";
inline constexpr std::string_view kSaveDialogFilter = "Save as Presentation Html files (*.html)";
inline constexpr std::string_view kSaveDialogPattern = "*.html";
inline constexpr std::string_view kProposedPageName = "_presentation.html";

enum class PublishOutcome { Published, Stopped, FileSystemFailure };
// Cancelled: the save dialog or the video copies; Declined: the person chose
// not to go on after hearing what will go wrong with the videos.
enum class StopReason { NoVideo, VideoNotFound, Cancelled, UnsupportedFormat, Declined };

struct PublishResult {
    PublishOutcome outcome = PublishOutcome::Published;
    std::optional<StopReason> stopReason; // when Stopped
    std::optional<FileError> failure;     // when FileSystemFailure
    std::filesystem::path pagePath;       // the presentation page, once chosen
};

struct PublishSettings {
    bool scramble = true; // false leaves js/ctr/cn0.js readable
};

class Publisher {
  public:
    explicit Publisher(PublishUi& ui, PublishSettings settings = {});

    // Runs the whole publication. Changes the project as publishing does:
    // icon codes 0 become 200, SAVEDIR moves to the output folder, an
    // invalid manual size is reset to "320" x "100".
    PublishResult publish(Project& project);

    // The text shown when a file cannot be written or copied.
    static std::string failureMessage(const FileError& failure);

    // The dialog's answer with blanks trimmed and ".html" appended unless it
    // already ends in it (any case); empty when nothing usable was given.
    static std::string pageFileName(std::string_view answer);

  private:
    PublishUi& ui_;
    PublishSettings settings_;
};

} // namespace qm
