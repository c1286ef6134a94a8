#include "preview/PlayerControl.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoSink>

#include <cmath>
#include <utility>

namespace qm::preview {

PlayerControl::PlayerControl(SinkSource sink, QObject* parent)
    : QObject(parent), sink_(std::move(sink)) {}

PlayerControl::~PlayerControl() {
    if (player_) {
        player_->stop();
    }
}

QMediaPlayer* PlayerControl::player() {
    if (!player_) {
        player_ = std::make_unique<QMediaPlayer>();
        player_->setVideoSink(sink_());
        // Attaching audio without an output device crashes some media back ends.
        if (!QMediaDevices::audioOutputs().isEmpty()) {
            audio_ = std::make_unique<QAudioOutput>();
            player_->setAudioOutput(audio_.get());
        }
        connect(player_.get(), &QMediaPlayer::positionChanged, this,
                [this](qint64 ms) { emit positionChanged(static_cast<double>(ms) / 1000.0); });
        connect(player_.get(), &QMediaPlayer::durationChanged, this,
                [this](qint64 ms) { emit durationChanged(static_cast<double>(ms) / 1000.0); });
        connect(player_.get(), &QMediaPlayer::playbackStateChanged, this,
                [this](QMediaPlayer::PlaybackState state) {
                    emit playingChanged(state == QMediaPlayer::PlayingState);
                });
    }
    return player_.get();
}

bool PlayerControl::usable() const {
    if (!player_ || player_->error() != QMediaPlayer::NoError) {
        return false;
    }
    const QMediaPlayer::MediaStatus status = player_->mediaStatus();
    return status != QMediaPlayer::NoMedia && status != QMediaPlayer::InvalidMedia;
}

void PlayerControl::open(const QString& path) {
    source_ = path;
    player()->setSource(QUrl::fromLocalFile(path));
}

void PlayerControl::play() {
    if (player_ && !player_->source().isEmpty()) {
        player_->play();
    }
}

void PlayerControl::pause() {
    if (player_ && !player_->source().isEmpty()) {
        player_->pause();
    }
}

void PlayerControl::stop() {
    if (player_) {
        player_->stop();
    }
}

double PlayerControl::position() const {
    if (!usable()) {
        return 0.0;
    }
    return static_cast<double>(player_->position()) / 1000.0;
}

void PlayerControl::setPosition(double seconds) {
    if (!usable() || !std::isfinite(seconds) || seconds < 0.0) {
        return;
    }
    player_->setPosition(static_cast<qint64>(std::llround(seconds * 1000.0)));
}

double PlayerControl::duration() const {
    return player_ ? static_cast<double>(player_->duration()) / 1000.0 : 0.0;
}

bool PlayerControl::isPlaying() const {
    return player_ && player_->playbackState() == QMediaPlayer::PlayingState;
}

} // namespace qm::preview
