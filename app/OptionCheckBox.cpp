#include "app/OptionCheckBox.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace qm::app {

namespace {
constexpr int kBoxSize = 13;
constexpr int kMargin = 3;
const QColor kEdgeShadow{160, 160, 160};
} // namespace

OptionCheckBox::OptionCheckBox(const QString& text, TextSide side, bool staticEdge, QWidget* parent)
    : QCheckBox(text, parent), side_(side), staticEdge_(staticEdge) {
    setFocusPolicy(Qt::TabFocus);
}

QRect OptionCheckBox::indicatorRect() const {
    const int top = (height() - kBoxSize) / 2;
    const int left = side_ == TextSide::LeftOfBox ? width() - kBoxSize - kMargin : kMargin;
    return {left, top, kBoxSize, kBoxSize};
}

bool OptionCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void OptionCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (autoFillBackground()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = indicatorRect();
    option.state |= isChecked() ? QStyle::State_On : QStyle::State_Off;
    if (isDown()) {
        option.state |= QStyle::State_Sunken;
    }
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);

    const QRect box = indicatorRect();
    QRect textArea = rect().adjusted(kMargin, 0, -kMargin, 0);
    if (side_ == TextSide::LeftOfBox) {
        textArea.setRight(box.left() - kMargin);
    } else {
        textArea.setLeft(box.right() + kMargin + 1);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());

    if (staticEdge_) {
        const QRect r = rect();
        painter.setPen(kEdgeShadow);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(Qt::white);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
}

} // namespace qm::app
