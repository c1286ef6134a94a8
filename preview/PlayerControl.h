#pragma once
// The program's handle on the preview player: open a file by path, play,
// pause, stop, and read and set the position in seconds. A call that fails
// does nothing; the position of a player without playable media reads 0.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QMediaPlayer;
class QAudioOutput;
class QVideoSink;

namespace qm::preview {

class PlayerControl : public QObject {
    Q_OBJECT

  public:
    // The sink is asked for on the first open, so the media back end loads then.
    using SinkSource = std::function<QVideoSink*()>;
    explicit PlayerControl(SinkSource sink, QObject* parent = nullptr);
    ~PlayerControl() override;

    void open(const QString& path);
    void play();
    void pause();
    void stop();
    double position() const;
    void setPosition(double seconds);

    bool isPlaying() const;
    // Length of the open media in seconds; 0 until it is known.
    double duration() const;
    QString source() const { return source_; }

  signals:
    void positionChanged(double seconds);
    void durationChanged(double seconds);
    void playingChanged(bool playing);

  private:
    // The player is made on the first open, which keeps start-up quick.
    QMediaPlayer* player();
    bool usable() const;

    SinkSource sink_;
    QString source_;
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> audio_;
};

} // namespace qm::preview
