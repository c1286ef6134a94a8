#include "preview/VideoFrameView.h"

#include <QPainter>
#include <QVideoSink>

namespace qm::preview {

VideoFrameView::VideoFrameView(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

QVideoSink* VideoFrameView::videoSink() {
    if (!sink_) {
        sink_ = new QVideoSink(this);
        connect(sink_, &QVideoSink::videoFrameChanged, this, &VideoFrameView::takeFrame);
    }
    return sink_;
}

void VideoFrameView::takeFrame(const QVideoFrame& frame) {
    frame_ = frame;
    update();
}

void VideoFrameView::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QRect area = contentsRect();
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
    }
    QFrame::paintEvent(event);
}

} // namespace qm::preview
