#pragma once
// Publishing as the window's person sees it: message boxes owned by the main
// window, the save dialog for the presentation page, the preview stopped and
// the tick. While publishing works the wait cursor shows; it gives way to the
// normal cursor while a dialog or message waits for the person.

#include "media/MediaProbe.h"
#include "publish/PublishUi.h"

#include <QElapsedTimer>

class QWidget;

namespace qm::preview {
class PlayerControl;
} // namespace qm::preview

namespace qm::app {

class TickPlayer;

class Prompter;

class WindowPublishUi final : public PublishUi {
  public:
    // probe may be null: the videos are then published without findings.
    WindowPublishUi(QWidget* owner, Prompter& prompter, preview::PlayerControl& player,
                    TickPlayer& ticks, const media::MediaProbe* probe);
    ~WindowPublishUi() override;
    WindowPublishUi(const WindowPublishUi&) = delete;
    WindowPublishUi& operator=(const WindowPublishUi&) = delete;

    void showMessage(std::string_view caption, std::string_view text,
                     qm::MessageIcon icon) override;
    std::optional<std::string> choosePageFile(const SaveDialogRequest& request) override;
    void stopPreview() override;
    void playTick() override;
    // Lists the videos' warnings and errors and asks whether to go on.
    bool acceptVideos(const VideoPaths& videos) override;
    // The progress dialog with Cancel during the video copies.
    bool showProgress(std::uint64_t done, std::uint64_t total) override;

  private:
    QWidget* owner_;
    Prompter& prompter_;
    preview::PlayerControl& player_;
    TickPlayer& ticks_;
    const media::MediaProbe* probe_;
    QElapsedTimer shown_;
};

} // namespace qm::app
