#pragma once
// What publishing needs from a person and from the preview: the desktop
// window implements it with message boxes and the save dialog, the command
// line with standard error and its OUTPUT argument, the tests with a fake.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

class VideoPaths;

enum class MessageIcon { Exclamation, Information, Error };

// The save dialog of the publish command.
struct SaveDialogRequest {
    std::string_view title;         // "Publish Html5 web page"
    std::string_view filterName;    // "Save as Presentation Html files (*.html)"
    std::string_view filterPattern; // "*.html"
    std::string_view proposedName;  // "_presentation.html"
    std::string startFolder;        // SAVEDIR
};

class PublishUi {
  public:
    virtual ~PublishUi() = default;
    // A modal message box with an OK button.
    virtual void showMessage(std::string_view caption, std::string_view text, MessageIcon icon) = 0;
    // The chosen full path, or nullopt when the person cancelled.
    virtual std::optional<std::string> choosePageFile(const SaveDialogRequest& request) = 0;
    virtual void stopPreview() = 0;
    virtual void playTick() = 0;
    // After the publisher's own checks, before anything is written: a chance
    // to tell the person what will go wrong with the videos on the web.
    // False stops publishing.
    virtual bool acceptVideos(const VideoPaths& /*videos*/) { return true; }
    // Bytes of the video copies done and in all, from (0, total) to (total,
    // total). False cancels publishing; the folder then keeps its old package.
    virtual bool showProgress(std::uint64_t /*done*/, std::uint64_t /*total*/) { return true; }
};

} // namespace qm
