#include "app/Tooltips.h"

#include "app/TooltipTexts.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qm::app {

namespace {
const QColor kTipText{255, 255, 0};
const QColor kTipBackground{25, 29, 98};
constexpr int kPadding = 4;
constexpr int kCursorGap = 20;
} // namespace

Tooltips::Tooltips(QWidget* window) : QObject(window), window_(window) {
    buildPopup(window);
    delay_ = new QTimer(this);
    delay_->setSingleShot(true);
    delay_->setInterval(kInitialDelayMs);
    connect(delay_, &QTimer::timeout, this, [this] {
        if (pending_) {
            showTipFor(pending_);
        }
    });
    popDown_ = new QTimer(this);
    popDown_->setSingleShot(true);
    popDown_->setInterval(kPopDownMs);
    connect(popDown_, &QTimer::timeout, this, &Tooltips::hideTip);
}

void Tooltips::buildPopup(QWidget* window) {
    popup_ = new QFrame(window, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    popup_->setObjectName(QStringLiteral("tooltipPopup"));
    popup_->setAttribute(Qt::WA_ShowWithoutActivating);
    popup_->setFrameStyle(QFrame::Box | QFrame::Plain);
    popup_->setLineWidth(1);
    QPalette palette = popup_->palette();
    palette.setColor(QPalette::Window, kTipBackground);
    palette.setColor(QPalette::WindowText, kTipText);
    popup_->setPalette(palette);
    popup_->setAutoFillBackground(true);

    auto* icon = new QLabel(popup_);
    const int iconSize = 16;
    icon->setPixmap(QApplication::style()
                        ->standardIcon(QStyle::SP_MessageBoxInformation)
                        .pixmap(iconSize, iconSize));
    auto* title = new QLabel(QStringLiteral("Information:"), popup_);
    title->setObjectName(QStringLiteral("tooltipTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    body_ = new QLabel(popup_);
    body_->setObjectName(QStringLiteral("tooltipText"));
    body_->setTextFormat(Qt::PlainText);
    body_->setWordWrap(true);

    auto* heading = new QHBoxLayout;
    heading->setSpacing(kPadding);
    heading->addWidget(icon);
    heading->addWidget(title, 1);
    auto* layout = new QVBoxLayout(popup_);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(kPadding);
    layout->addLayout(heading);
    layout->addWidget(body_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tooltips::registerAll() {
    for (const TooltipEntry& entry : tooltipEntries()) {
        for (const QString& name : entry.controls) {
            if (auto* control = window_->findChild<QWidget*>(name)) {
                registerTool(control, entry.text);
            }
        }
    }
}

void Tooltips::registerTool(QWidget* control, const QString& text) {
    if (!control) {
        return;
    }
    texts_[control] = text;
    control->installEventFilter(this);
    control->setAttribute(Qt::WA_Hover);
}

QString Tooltips::textFor(const QWidget* control) const {
    const auto found = texts_.find(control);
    return found == texts_.end() ? QString() : found->second;
}

void Tooltips::setActive(bool active) {
    active_ = active;
    if (!active_) {
        hideTip();
    }
}

QString Tooltips::displayText(const QString& text) {
    QString shown = text;
    shown.replace(u'\r', u'\n');
    return shown;
}

void Tooltips::showTipFor(QWidget* control) {
    const auto found = texts_.find(control);
    if (!active_ || found == texts_.end()) {
        return;
    }
    const QString shown = displayText(found->second);
    body_->setText(shown);
    fitBody(shown);
    popup_->adjustSize();

    QPoint where = QCursor::pos() + QPoint(0, kCursorGap);
    if (const QScreen* screen = control->screen()) {
        const QRect area = screen->availableGeometry();
        where.setX(std::clamp(where.x(), area.left(), area.right() - popup_->width()));
        where.setY(std::clamp(where.y(), area.top(), area.bottom() - popup_->height()));
    }
    popup_->move(where);
    popup_->show();
    popup_->raise();
    popDown_->start();
}

void Tooltips::fitBody(const QString& shown) {
    popup_->ensurePolished(); // measured in the font it is shown in
    // Fractional advances, rounded up: a width rounded down wraps the widest line.
    const QFontMetricsF metrics(body_->font());
    qreal widest = 0;
    for (const QString& line : shown.split(u'\n')) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const QMargins margins = body_->contentsMargins();
    const int frameAndMargins = 2 * (kPadding + popup_->lineWidth());
    const int width =
        std::min(static_cast<int>(std::ceil(widest)) + 1 + margins.left() + margins.right(),
                 kMaxWidth - frameAndMargins);
    // The height the text takes when wrapped at that width, so every line shows;
    // the last tip's size must not count as a minimum.
    body_->setMinimumSize(0, 0);
    body_->setFixedSize(width, body_->heightForWidth(width));
}

void Tooltips::hideTip() {
    delay_->stop();
    popDown_->stop();
    popup_->hide();
}

bool Tooltips::eventFilter(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::ToolTip:
        return true; // our own tip stands in for Qt's
    case QEvent::Enter:
        if (active_ && control) {
            pending_ = control;
            delay_->start();
        }
        break;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        pending_ = nullptr;
        hideTip();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qm::app
