#include "preview/VideoFrameView.h"

#include <QPainter>
#include <QVideoSink>

namespace qm::preview {

VideoFrameView::VideoFrameView(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::NoFrame);
    setContentsMargins(kBorder, kBorder, kBorder, kBorder);
}

QVideoSink* VideoFrameView::videoSink() {
    if (!sink_) {
        sink_ = new QVideoSink(this);
        connect(sink_, &QVideoSink::videoFrameChanged, this, &VideoFrameView::takeFrame);
    }
    return sink_;
}

void VideoFrameView::setBottomBar(QWidget* bar, int height) {
    bottomBar_ = bar;
    bottomBarHeight_ = height;
    setContentsMargins(kBorder, kBorder, kBorder, kBorder + height);
    placeBottomBar();
}

QRect VideoFrameView::pictureRect() const {
    return contentsRect();
}

void VideoFrameView::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeBottomBar();
}

void VideoFrameView::placeBottomBar() {
    if (bottomBar_) {
        const QRect picture = pictureRect();
        bottomBar_->setGeometry(picture.left(), picture.bottom() + 1, picture.width(),
                                bottomBarHeight_);
    }
}

void VideoFrameView::takeFrame(const QVideoFrame& frame) {
    frame_ = frame;
    update();
}

void VideoFrameView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = pictureRect();
    painter.fillRect(area, Qt::black);
    if (frame_.isValid()) {
        const QImage image = frame_.toImage();
        if (!image.isNull()) {
            QSize fitted = image.size();
            fitted.scale(area.size(), Qt::KeepAspectRatio);
            QRect target(QPoint(0, 0), fitted);
            target.moveCenter(area.center());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, image);
        }
    }
    // The black border line, then a one-pixel sunken edge: dark above and to
    // the left, light below and to the right.
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.setPen(Qt::black);
    painter.drawRect(outer);
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(Qt::white);
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
}

} // namespace qm::preview
