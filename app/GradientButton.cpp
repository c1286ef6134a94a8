#include "app/GradientButton.h"

#include <QPainter>

namespace qm::app {

namespace {
const QColor kEdgeShadow{160, 160, 160};
const QColor kEdgeHighlight{255, 255, 255};
const QColor kEdgeDarkShadow{105, 105, 105};
const QColor kEdgeLight{227, 227, 227};
const QColor kProcessBlue{0, 0, 255};
} // namespace

GradientButton::GradientButton(const QString& caption, ui::GradientFamily family, QWidget* parent)
    : QAbstractButton(parent), family_(family) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
}

QRect GradientButton::clientRect() const {
    return rect().adjusted(1, 1, -1, -1);
}

void GradientButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintStaticEdge(painter);
    const QRect client = clientRect();
    painter.setClipRect(client);
    // The pressed look is drawn over the gradient, so a pressed button keeps
    // its colours under the sunken edge.
    paintGradient(painter, client);
    if (isDown()) {
        paintPressed(painter, client);
        return;
    }
    painter.setPen(Qt::white);
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void GradientButton::paintGradient(QPainter& painter, const QRect& client) const {
    const int width = client.width();
    const int height = client.height();
    for (int band = 0; band < ui::kBandCount; ++band) {
        const ui::BandRows rows = ui::bandRows(height, band);
        if (rows.bottom <= rows.top) {
            continue;
        }
        painter.fillRect(
            QRect(client.left(), client.top() + rows.top, width + 1, rows.bottom - rows.top),
            ui::bandColour(family_, band));
    }
}

void GradientButton::paintPressed(QPainter& painter, const QRect& client) const {
    const QRect outer = client;
    const QRect inner = client.adjusted(1, 1, -1, -1);
    auto edge = [&painter](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    edge(outer, kEdgeShadow, kEdgeHighlight);
    edge(inner, kEdgeDarkShadow, kEdgeLight);
    painter.setPen(kProcessBlue);
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("Process"));
}

void GradientButton::paintStaticEdge(QPainter& painter) const {
    const QRect r = rect();
    painter.setPen(kEdgeShadow);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(kEdgeHighlight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace qm::app
