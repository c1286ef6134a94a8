#include "preview/TransportBar.h"

#include "preview/PlayerControl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace qm::preview {

namespace {
constexpr int kBarSteps = 1000; // milliseconds per step of the position bar

int toMilliseconds(double seconds) {
    return static_cast<int>(std::lround(seconds * kBarSteps));
}
} // namespace

TransportBar::TransportBar(PlayerControl& player, QWidget* parent)
    : QWidget(parent), player_(player) {
    setObjectName(QStringLiteral("transportBar"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(192, 192, 192));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    playButton_ = new QToolButton(this);
    playButton_->setObjectName(QStringLiteral("playPauseButton"));
    playButton_->setAutoRaise(true);
    playButton_->setFocusPolicy(Qt::NoFocus);
    positionBar_ = new QSlider(Qt::Horizontal, this);
    positionBar_->setObjectName(QStringLiteral("positionBar"));
    positionBar_->setRange(0, 0);
    positionBar_->setFocusPolicy(Qt::NoFocus);
    timeLabel_ = new QLabel(this);
    timeLabel_->setObjectName(QStringLiteral("timeLabel"));
    timeLabel_->setTextFormat(Qt::PlainText);
    timeLabel_->setMinimumWidth(110);
    timeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 6, 0);
    row->setSpacing(6);
    row->addWidget(playButton_);
    row->addWidget(positionBar_, 1);
    row->addWidget(timeLabel_);

    connect(playButton_, &QToolButton::clicked, this, &TransportBar::togglePlaying);
    // Dragging and clicking the bar both seek; the player's own position
    // updates do not move the bar while the person holds it.
    connect(positionBar_, &QSlider::sliderMoved, this,
            [this](int ms) { player_.setPosition(ms / static_cast<double>(kBarSteps)); });
    connect(positionBar_, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction) {
            player_.setPosition(positionBar_->sliderPosition() / static_cast<double>(kBarSteps));
        }
    });
    connect(&player_, &PlayerControl::playingChanged, this, &TransportBar::showPlaying);
    connect(&player_, &PlayerControl::positionChanged, this, &TransportBar::showPosition);
    connect(&player_, &PlayerControl::durationChanged, this, &TransportBar::showDuration);
    showPlaying(false);
    showTimes();
}

QString TransportBar::timeText(double seconds) {
    const long tenths = std::max(0L, std::lround(seconds * 10.0));
    const long minutes = tenths / 600;
    const long rest = tenths % 600;
    return QStringLiteral("%1:%2.%3")
        .arg(minutes)
        .arg(rest / 10, 2, 10, QLatin1Char('0'))
        .arg(rest % 10);
}

void TransportBar::togglePlaying() {
    if (player_.isPlaying()) {
        player_.pause();
    } else {
        player_.play();
    }
}

void TransportBar::showPlaying(bool playing) {
    playButton_->setIcon(
        style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    playButton_->setToolTip(playing ? QStringLiteral("Пауза") : QStringLiteral("Воспроизвести"));
}

void TransportBar::showPosition(double seconds) {
    position_ = seconds;
    if (!positionBar_->isSliderDown()) {
        positionBar_->setValue(toMilliseconds(seconds));
    }
    showTimes();
}

void TransportBar::showDuration(double seconds) {
    duration_ = seconds;
    positionBar_->setRange(0, toMilliseconds(seconds));
    positionBar_->setPageStep(std::max(1, toMilliseconds(seconds) / 20));
    showTimes();
}

void TransportBar::showTimes() {
    timeLabel_->setText(timeText(position_) + QStringLiteral(" / ") + timeText(duration_));
}

} // namespace qm::preview
