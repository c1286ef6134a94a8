#pragma once
// The preview part of the main window: the video at 250, 165, the yaw slider
// with its scale, and the green yaw marker kept on top of the playing video.

#include <QObject>
#include <QString>

class QLabel;
class QSlider;
class QTimer;
class QWidget;
class QCursor;

namespace qm::preview {

class PlayerControl;
class TransportBar;
class VideoFrameView;

class PreviewArea : public QObject {
    Q_OBJECT

  public:
    PreviewArea(QWidget* client, const QCursor& cursor);

    PlayerControl& player() const { return *player_; }
    VideoFrameView* view() const { return view_; }
    TransportBar* transport() const { return transport_; }
    QSlider* slider() const { return slider_; }
    QLabel* marker() const { return marker_; }
    QLabel* scale() const { return scale_; }
    int currentYaw() const { return currentYaw_; }
    void setYaw(int yaw);
    // Moves the marker to the slider's angle again and redraws it.
    void placeMarker();

    // The scale under the slider: five marks spread by tab stops every 51 characters.
    static QString scaleText();

  private:
    void buildScale(QWidget* client);
    void buildSlider(QWidget* client, const QCursor& cursor);
    void buildMarker(QWidget* client);
    void followSlider(int value);
    void keepMarkerOnTop();

    VideoFrameView* view_ = nullptr;
    PlayerControl* player_ = nullptr;
    TransportBar* transport_ = nullptr;
    QLabel* scale_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* marker_ = nullptr;
    QTimer* repaintTimer_ = nullptr;
    int currentYaw_ = 0;
};

} // namespace qm::preview
