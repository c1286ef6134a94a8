#pragma once
// Paints the frames a QVideoSink receives. Unlike QVideoWidget, what it shows
// is part of the window's own painting, so grabs and screenshots see the video.
// A black border with a sunken edge inside it frames the picture, and a bar
// given with setBottomBar sits under the picture inside the frame.

#include <QFrame>
#include <QVideoFrame>

class QVideoSink;

namespace qm::preview {

class VideoFrameView : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kBorder = 2; // black line, then the sunken edge

    explicit VideoFrameView(QWidget* parent);

    // Made on first use: the media back end loads with it, which start-up need not wait for.
    QVideoSink* videoSink();
    bool hasFrame() const { return frame_.isValid(); }
    // Keeps the bar under the picture, inside the border.
    void setBottomBar(QWidget* bar, int height);
    // Where the picture is drawn, in the view's own pixels.
    QRect pictureRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void takeFrame(const QVideoFrame& frame);
    void placeBottomBar();

    QVideoSink* sink_ = nullptr;
    QVideoFrame frame_;
    QWidget* bottomBar_ = nullptr;
    int bottomBarHeight_ = 0;
};

} // namespace qm::preview
