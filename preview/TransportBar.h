#pragma once
// The preview's own transport under the picture: play/pause, a position bar
// to scrub to the moment a hot spot belongs to, and the time. Hot spots take
// their position from the player, so the author must be able to reach any
// moment without waiting for it.

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace qm::preview {

class PlayerControl;

class TransportBar : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kHeight = 24;

    TransportBar(PlayerControl& player, QWidget* parent);

    QToolButton* playButton() const { return playButton_; }
    QSlider* positionBar() const { return positionBar_; }
    QLabel* timeLabel() const { return timeLabel_; }

    // "m:ss.d" with tenths, the precision the hot spot rows show.
    static QString timeText(double seconds);

  private:
    void togglePlaying();
    void showPlaying(bool playing);
    void showPosition(double seconds);
    void showDuration(double seconds);
    void showTimes();

    PlayerControl& player_;
    QToolButton* playButton_ = nullptr;
    QSlider* positionBar_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    double position_ = 0.0;
    double duration_ = 0.0;
};

} // namespace qm::preview
