#include "preview/PreviewArea.h"

#include "preview/PlayerControl.h"
#include "preview/TransportBar.h"
#include "preview/VideoFrameView.h"
#include "preview/YawMarker.h"
#include "ui/Look.h"

#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QWidget>

namespace qm::preview {

namespace {
constexpr int kTabStop = 51;
constexpr int kRepaintMs = 215;
const QColor kMarkerGreen{0, 255, 0};

QString expandTabs(const QString& text, int tabStop) {
    QString expanded;
    for (const QChar c : text) {
        if (c == u'\t') {
            const int blanks = tabStop - static_cast<int>(expanded.size() % tabStop);
            expanded += QString(blanks, u' ');
        } else {
            expanded += c;
        }
    }
    return expanded;
}
} // namespace

PreviewArea::PreviewArea(QWidget* client, const QCursor& cursor) : QObject(client) {
    view_ = new VideoFrameView(client);
    view_->setObjectName(QStringLiteral("videoView"));
    view_->setGeometry(250, 165, 670, 400);
    player_ = new PlayerControl([view = view_] { return view->videoSink(); }, this);
    transport_ = new TransportBar(*player_, view_);
    view_->setBottomBar(transport_, TransportBar::kHeight);
    buildScale(client);
    buildSlider(client, cursor);
    buildMarker(client);
    repaintTimer_ = new QTimer(this);
    repaintTimer_->setInterval(kRepaintMs);
    connect(repaintTimer_, &QTimer::timeout, this, &PreviewArea::keepMarkerOnTop);
    repaintTimer_->start();
}

QString PreviewArea::scaleText() {
    return expandTabs(QStringLiteral("-179\t-90\t  0\t+90\t+179"), kTabStop);
}

void PreviewArea::buildScale(QWidget* client) {
    scale_ = new QLabel(scaleText(), client);
    scale_->setObjectName(QStringLiteral("sliderScale"));
    scale_->setTextFormat(Qt::PlainText);
    scale_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scale_->setFont(ui::scaleFont());
    ui::setColours(scale_, Qt::white, std::nullopt);
    scale_->setGeometry(250, 565, 667, 15);
}

void PreviewArea::buildSlider(QWidget* client, const QCursor& cursor) {
    slider_ = new QSlider(Qt::Horizontal, client);
    slider_->setObjectName(QStringLiteral("yawSlider"));
    slider_->setRange(kYawMin, kYawMax);
    slider_->setPageStep(1);
    slider_->setSingleStep(1);
    slider_->setTickInterval(30);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setValue(0);
    slider_->setCursor(cursor);
    ui::setColours(slider_, Qt::black, ui::kSliderGrey);
    slider_->setGeometry(250, 579, 670, 22);
    connect(slider_, &QSlider::valueChanged, this, &PreviewArea::followSlider);
}

void PreviewArea::buildMarker(QWidget* client) {
    marker_ = new QLabel(client);
    marker_->setObjectName(QStringLiteral("yawMarker"));
    ui::setColours(marker_, kMarkerGreen, kMarkerGreen);
    marker_->setGeometry(markerX(0), 170, 2, 362);
    marker_->raise();
}

void PreviewArea::setYaw(int yaw) {
    slider_->setValue(yaw);
}

void PreviewArea::followSlider(int value) {
    currentYaw_ = value;
    placeMarker();
}

void PreviewArea::placeMarker() {
    marker_->move(markerX(currentYaw_), 170);
    keepMarkerOnTop();
}

void PreviewArea::keepMarkerOnTop() {
    marker_->raise();
    marker_->update();
}

} // namespace qm::preview
