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

    QVideoSink* videoSink() const { return sink_; }
    bool hasFrame() const { return frame_.isValid(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void takeFrame(const QVideoFrame& frame);

    QVideoSink* sink_;
    QVideoFrame frame_;
};

} // namespace qm::preview
