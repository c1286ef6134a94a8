#include "app/PathLabel.h"

#include <QPainter>

namespace qm::app {

PathLabel::PathLabel(QWidget* parent) : QFrame(parent) {}

void PathLabel::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    update();
}

QString PathLabel::shownText() const {
    return fontMetrics().elidedText(text_, Qt::ElideMiddle, contentsRect().width() - 2);
}

void PathLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect().adjusted(1, 0, -1, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shownText());
}

} // namespace qm::app
