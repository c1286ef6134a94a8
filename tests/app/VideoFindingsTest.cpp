// The window and the media probe: a loaded video's warnings told once (over
// the shown window), publishing listing them and asking whether to go on, and
// the progress dialog's Cancel leaving the folder's package as it was.

#include "tests/app/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

#include <map>

using qm::test::WindowFixture;

namespace {

const QString kClips = QStringLiteral(QM_MEDIA_CLIPS);

QString clip(const char* name) {
    return kClips + u'/' + QLatin1String(name);
}

std::map<QString, QByteArray> filesUnder(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files[file.fileName()] = file.readAll();
    }
    return files;
}

} // namespace

class VideoFindingsTest : public QObject {
    Q_OBJECT

  private slots:
    void loadingTellsOncePerFile();
    void publishingAsksAndCancelKeepsThePackage();
};

void VideoFindingsTest::loadingTellsOncePerFile() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.loadVideo(1, clip("wide16x9.mp4"));
    // A video opened with the program waits for the window to show.
    QVERIFY(fixture.prompter.messages.empty());
    window.show();
    QTRY_COMPARE(fixture.prompter.messages.size(), std::size_t{1});
    const QString text = fixture.prompter.messages.back().text;
    QVERIFY2(text.contains(QStringLiteral("а не 2:1: плеер растянет его по сфере")),
             qPrintable(text));
    QVERIFY(text.contains(clip("wide16x9.mp4")));
    window.loadVideo(2, clip("wide16x9.mp4"));
    // Notes need no word: publishing fixes them.
    window.loadVideo(1, clip("end.mp4"));
    window.loadVideo(1, clip("good.mp4"));
    QCOMPARE(fixture.prompter.messages.size(), std::size_t{1});
    window.loadVideo(1, clip("hevc.mp4"));
    QCOMPARE(fixture.prompter.messages.size(), std::size_t{2});
    QVERIFY(fixture.prompter.messages.back().text.contains(
        QStringLiteral("ошибка: видео в кодеке HEVC")));
}

void VideoFindingsTest::publishingAsksAndCancelKeepsThePackage() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.loadVideo(1, clip("wide16x9.mp4"));
    const QString page = fixture.folder() + QStringLiteral("/site/index.html");
    const QString site = fixture.folder() + QStringLiteral("/site");

    // Declined: no dialog, nothing written.
    fixture.prompter.confirmAnswers = {false};
    window.run(qm::app::Command::Publish);
    QVERIFY(fixture.prompter.questions.back().startsWith(QStringLiteral("Публикация|")));
    QVERIFY(fixture.prompter.questions.back().endsWith(QStringLiteral("Продолжить публикацию?")));
    QVERIFY(fixture.prompter.fileRequests.empty() ||
            fixture.prompter.fileRequests.back().title != QStringLiteral("Publish Html5 web page"));
    QVERIFY(!QDir(site).exists());

    fixture.prompter.confirmAnswers = {true};
    fixture.prompter.fileAnswers = {page};
    window.run(qm::app::Command::Publish);
    QCOMPARE(fixture.prompter.messages.back().text, QStringLiteral("Publishing succeeded"));
    const auto total = static_cast<std::uint64_t>(QFileInfo(clip("wide16x9.mp4")).size());
    QCOMPARE(fixture.prompter.progressCalls.back(), std::make_pair(total, total));
    const std::map<QString, QByteArray> before = filesUnder(site);

    // Another video, cancelled at its first progress step.
    window.loadVideo(1, clip("good.mp4"));
    fixture.prompter.fileAnswers = {page};
    fixture.prompter.cancelProgressAt = fixture.prompter.progressCalls.size() + 1;
    const std::size_t messages = fixture.prompter.messages.size();
    window.run(qm::app::Command::Publish);
    QCOMPARE(fixture.prompter.messages.size(), messages); // no success, no failure
    QVERIFY(filesUnder(site) == before);
}

QTEST_MAIN(VideoFindingsTest)
#include "VideoFindingsTest.moc"
