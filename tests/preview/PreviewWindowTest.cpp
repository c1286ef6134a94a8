// The preview inside the main window: the yaw marker follows the slider and
// stays over the playing video, a chosen video plays in the window, and a
// project opened from a file plays its first video.

#include "app/OptionsPanel.h"
#include "app/OptionsStore.h"
#include "app/PathLabel.h"
#include "persist/ProjectFile.h"
#include "preview/PlayerControl.h"
#include "preview/PreviewArea.h"
#include "preview/VideoFrameView.h"
#include "preview/YawMarker.h"
#include "tests/app/TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSlider>
#include <QtTest>

using qm::app::Command;
using qm::preview::markerX;
using qm::test::WindowFixture;

class PreviewWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void markerPositions();
    void markerFollowsTheSlider();
    void chosenVideoPlaysInTheWindow();
    void projectOpensWithItsFirstVideo();

  private:
    QTemporaryDir clipDir_;
    QString clip_;
};

void PreviewWindowTest::initTestCase() {
    clip_ = qm::test::makeClip(clipDir_.path(), QStringLiteral("tour.mp4"), 8);
    QVERIFY2(!clip_.isEmpty(), "ffmpeg could not make the test clip");
}

void PreviewWindowTest::markerPositions() {
    QCOMPARE(markerX(-179), 261);
    QCOMPARE(markerX(0), 585);
    QCOMPARE(markerX(180), 911);
    QCOMPARE(markerX(-90), 422);
    QCOMPARE(markerX(90), 748);
}

void PreviewWindowTest::markerFollowsTheSlider() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QSlider* slider = window.preview().slider();
    QLabel* marker = window.preview().marker();
    for (const auto& [yaw, x] : {std::pair{-179, 261}, std::pair{0, 585}, std::pair{180, 911}}) {
        slider->setValue(yaw);
        QCOMPARE(window.preview().currentYaw(), yaw);
        QCOMPARE(marker->geometry(), QRect(x, 170, 2, 362));
    }
    // The keys move it too, one degree a step.
    slider->setValue(0);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(window.preview().currentYaw(), 1);
    QCOMPARE(marker->x(), markerX(1));
}

void PreviewWindowTest::chosenVideoPlaysInTheWindow() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fixture.prompter.fileAnswers = {clip_};
    window.run(Command::LoadVideo1);
    QCOMPARE(window.pathLabel(1)->text(), clip_);
    QCOMPARE(window.store().options().loadDir, clipDir_.path().toStdString());

    qm::preview::PlayerControl& player = window.preview().player();
    QTRY_VERIFY_WITH_TIMEOUT(player.position() > 1.0, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(window.preview().view()->hasFrame(), 5000);
    window.preview().slider()->setValue(90);
    QTest::qWait(500);

    // What a person sees: the frame inside the preview, the marker over it.
    const QImage shot = window.grab().toImage();
    shot.save(QStringLiteral(QM_BINARY_DIR "/desktop-window.png"));
    const QPoint origin = window.client()->mapTo(&window, QPoint(0, 0));
    const QColor markerPixel = shot.pixelColor(origin + QPoint(markerX(90), 300));
    QCOMPARE(markerPixel, QColor(0, 255, 0));
    int lit = 0;
    for (int x = 260; x < 900; x += 20) {
        const QColor pixel = shot.pixelColor(origin + QPoint(x, 365));
        lit += pixel.lightness() > 40 ? 1 : 0;
    }
    QVERIFY2(lit > 10, "the video frame is not visible in the window");

    player.pause();
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 5000);
    const double held = player.position();
    QTest::qWait(400);
    QCOMPARE(player.position(), held);
    player.setPosition(0.5);
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(player.position() - 0.5) < 0.3, 10000);
}

void PreviewWindowTest::projectOpensWithItsFirstVideo() {
    WindowFixture fixture;
    qm::Project project;
    project.options = qm::PlayerOptions::fresh("/projects");
    project.options.setItem(qm::Choice::Window, 8);
    project.options.htmlTitle = "Берег";
    project.videos.set(1, clip_.toStdString());
    project.videos.set(2, "/elsewhere/tour.webm");
    const std::filesystem::path file =
        std::filesystem::path(fixture.folder().toStdString()) / "tour.pp5";
    QVERIFY(qm::writeProjectFile(file, project).ok());

    qm::app::MainWindow& window = fixture.open();
    QVERIFY(window.openProject(file));
    QCOMPARE(window.optionsPanel().list(qm::Choice::Window)->currentText(),
             QStringLiteral("08.800x600"));
    QCOMPARE(window.pathLabel(1)->text(), clip_);
    QCOMPARE(window.pathLabel(2)->text(), QStringLiteral("/elsewhere/tour.webm"));
    QCOMPARE(window.store().options().htmlTitle, std::string("Берег"));
    QCOMPARE(window.preview().player().source(), clip_);
    QTRY_VERIFY_WITH_TIMEOUT(window.preview().player().position() > 0.5, 20000);

    // A file that is not there changes nothing and says why.
    QVERIFY(!window.openProject(file.parent_path() / "missing.pp5"));
    QCOMPARE(fixture.prompter.messages.size(), std::size_t(1));
    QCOMPARE(window.pathLabel(1)->text(), clip_);
}

QTEST_MAIN(PreviewWindowTest)
#include "PreviewWindowTest.moc"
