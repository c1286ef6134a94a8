// The preview player on a generated clip: it plays, pauses, seeks, and a
// player without playable media reads position 0 and ignores every call.

#include "preview/PlayerControl.h"
#include "app/DesktopApp.h"
#include "preview/VideoFrameView.h"
#include "tests/app/TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

using qm::preview::PlayerControl;
using qm::preview::VideoFrameView;

class PlayerControlTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void playsPausesAndSeeks();
    void withoutMediaEveryCallDoesNothing();
    void anUnplayableFileReadsZero();

  private:
    QTemporaryDir dir_;
    QString clip_;
};

void PlayerControlTest::initTestCase() {
    clip_ = qm::test::makeClip(dir_.path(), QStringLiteral("clip.mp4"), 6);
    QVERIFY2(!clip_.isEmpty(), "ffmpeg could not make the test clip");
}

void PlayerControlTest::playsPausesAndSeeks() {
    QWidget host;
    auto* view = new VideoFrameView(&host);
    view->setGeometry(0, 0, 670, 400);
    PlayerControl player([view] { return view->videoSink(); });
    player.open(clip_);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0.5, 20000);
    QVERIFY(player.isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(view->hasFrame(), 5000);

    player.pause();
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 5000);
    const double held = player.position();
    QTest::qWait(600);
    QCOMPARE(player.position(), held);

    player.setPosition(3.0);
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(player.position() - 3.0) < 0.3, 10000);

    player.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 5000);
}

void PlayerControlTest::withoutMediaEveryCallDoesNothing() {
    QWidget host;
    auto* view = new VideoFrameView(&host);
    PlayerControl player([view] { return view->videoSink(); });
    player.play();
    player.pause();
    player.setPosition(12.0);
    player.stop();
    QCOMPARE(player.position(), 0.0);
    QVERIFY(!player.isPlaying());
}

void PlayerControlTest::anUnplayableFileReadsZero() {
    const QString bogus = dir_.filePath(QStringLiteral("not-a-video.mp4"));
    QFile file(bogus);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is no video at all");
    file.close();

    QWidget host;
    auto* view = new VideoFrameView(&host);
    PlayerControl player([view] { return view->videoSink(); });
    player.open(bogus);
    player.play();
    QTest::qWait(1500);
    player.setPosition(2.0);
    QCOMPARE(player.position(), 0.0);
    player.pause();
    player.stop();
    QCOMPARE(player.position(), 0.0);
}

int main(int argc, char** argv) {
    qm::app::prepareEnvironment();
    QApplication application(argc, argv);
    PlayerControlTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PlayerControlTest.moc"
