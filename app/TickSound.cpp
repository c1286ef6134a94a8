#include "app/TickSound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace qm::app {

TickSound::TickSound(QObject* parent) : QObject(parent) {}

TickSound::~TickSound() = default;

void TickSound::prepare() {
    prepared_ = true;
    const QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
    if (outputs.isEmpty()) {
        return;
    }
    effect_ = std::make_unique<QSoundEffect>(QMediaDevices::defaultAudioOutput());
    effect_->setSource(QUrl(QStringLiteral("qrc:/app/tick.wav")));
}

void TickSound::playTick() {
    if (!prepared_) {
        prepare();
    }
    if (!effect_) {
        return;
    }
    effect_->stop();
    effect_->play();
}

} // namespace qm::app
