#pragma once
// What publishing needs from a person and from the preview: the desktop
// window implements it with message boxes and the save dialog, the command
// line with standard error and its OUTPUT argument, the tests with a fake.

#include <optional>
#include <string>
#include <string_view>

namespace qm {

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
};

} // namespace qm
