#include "app/GroupFrame.h"

#include <QPainter>

namespace qm::app {

GroupFrame::GroupFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect frame = rect().adjusted(0, lineY, -1, -1);
    // Etched: a dark line with a light one one pixel below and right.
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::white);
    painter.drawRect(frame.adjusted(1, 1, 0, 0));

    const QRect captionArea(8, 0, metrics.horizontalAdvance(caption_), metrics.height());
    painter.fillRect(captionArea, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

} // namespace qm::app
