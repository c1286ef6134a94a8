#pragma once
// Paints the frames a QVideoSink receives. Unlike QVideoWidget, what it shows
// is part of the window's own painting, so grabs and screenshots see the video.

#include <QFrame>
#include <QVideoFrame>

class QVideoSink;

namespace qm::preview {

class VideoFrameView : public QFrame {
    Q_OBJECT

  public:
    explicit VideoFrameView(QWidget* parent);

    // Made on first use: the media back end loads with it, which start-up need not wait for.
    QVideoSink* videoSink();
    bool hasFrame() const { return frame_.isValid(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void takeFrame(const QVideoFrame& frame);

    QVideoSink* sink_ = nullptr;
    QVideoFrame frame_;
};

} // namespace qm::preview
