#include "ui/Look.h"

#include <QFrame>
#include <QPalette>
#include <QWidget>

namespace qm::ui {

int pointsToPixels(int points) {
    constexpr int kDotsPerInch = 96;
    constexpr int kPointsPerInch = 72;
    return (points * kDotsPerInch + kPointsPerInch / 2) / kPointsPerInch;
}

QFont dialogFont() {
    // Narrow: the captions were sized for a dialog font narrower than Arial.
    QFont font(QStringLiteral("Liberation Sans Narrow"));
    font.setPixelSize(pointsToPixels(8));
    return font;
}

QFont timesFont(int points, bool bold, bool italic) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pointsToPixels(points));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont titleFont() {
    return timesFont(25, true, true);
}

QFont scaleFont() {
    return timesFont(8, false, false);
}

void setColours(QWidget* widget, const QColor& text, std::optional<QColor> background) {
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, text);
    }
    if (background) {
        for (const QPalette::ColorRole role :
             {QPalette::Window, QPalette::Base, QPalette::Button}) {
            palette.setColor(role, *background);
        }
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(background.has_value());
}

QString flatButtonStyle() {
    return QStringLiteral("QPushButton { background-color: rgb(240, 240, 240); color: black;"
                          " border: 1px solid black; padding: 0px; }"
                          "QPushButton:pressed { background-color: rgb(204, 204, 204); }");
}

void setStaticEdge(QFrame* frame) {
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
}

void setClientEdge(QFrame* frame) {
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    frame->setLineWidth(2);
}

void setThinBorder(QFrame* frame) {
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
}

} // namespace qm::ui
