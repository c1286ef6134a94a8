#pragma once
// The short click played for every command. Playing is asynchronous and a new
// tick cuts the one still sounding; a machine without a sound device is silent.

#include <QObject>

#include <memory>

class QSoundEffect;

namespace qm::app {

class TickPlayer {
  public:
    virtual ~TickPlayer() = default;
    virtual void playTick() = 0;
};

class TickSound final : public QObject, public TickPlayer {
    Q_OBJECT

  public:
    explicit TickSound(QObject* parent = nullptr);
    ~TickSound() override;

    void playTick() override;

  private:
    // Made on the first tick: looking for devices costs time at start-up.
    void prepare();

    bool prepared_ = false;
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace qm::app
