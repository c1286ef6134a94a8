#include "tests/app/TestSupport.h"

#include "app/DesktopApp.h"
#include "media/ffmpeg/FfmpegProbe.h"

#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QTimer>

namespace qm::test {

bool FakePrompter::confirm(QWidget* /*owner*/, const QString& caption, const QString& text) {
    questions.push_back(caption + u'|' + text);
    if (confirmAnswers.empty()) {
        return true;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void FakePrompter::inform(QWidget* /*owner*/, app::MessageIcon icon, const QString& caption,
                          const QString& text) {
    messages.push_back({icon, caption, text});
}

app::SaveChoice FakePrompter::askToSave(QWidget* /*owner*/, const QString& caption,
                                        const QString& text) {
    questions.push_back(caption + u'|' + text);
    if (saveAnswers.empty()) {
        return app::SaveChoice::Cancel;
    }
    const app::SaveChoice answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

std::optional<QString> FakePrompter::chooseFile(QWidget* /*owner*/,
                                                const app::FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.isNull()) {
        return std::nullopt;
    }
    return answer;
}

void FakePrompter::pickColour(const QString& title, const QColor& initial,
                              const app::CustomColours& custom, ColourDone done) {
    colourDialogs.push_back({title, initial, custom, std::move(done)});
}

void FakePrompter::closeColourDialogs() {
    std::vector<PendingColour> open = std::move(colourDialogs);
    colourDialogs.clear();
    for (PendingColour& dialog : open) {
        dialog.done(std::nullopt, dialog.custom);
    }
}

void FakePrompter::showModal(QDialog& dialog) {
    modalWindows.push_back(dialog.objectName());
    if (onModal) {
        onModal(dialog);
    }
}

bool FakePrompter::progress(QWidget* /*owner*/, const QString& /*label*/, std::uint64_t done,
                            std::uint64_t total) {
    progressCalls.emplace_back(done, total);
    return progressCalls.size() != cancelProgressAt;
}

WindowFixture::WindowFixture() = default;

WindowFixture::~WindowFixture() {
    closeWithoutQuestion();
}

std::filesystem::path WindowFixture::optionsPath() const {
    return std::filesystem::path(dir_.path().toStdString()) / "quillmark.ini";
}

std::filesystem::path WindowFixture::manualPath() const {
    return std::filesystem::path(dir_.path().toStdString()) / "tv360_player.pdf";
}

app::MainWindow& WindowFixture::open() {
    app::prepareApplication();
    OptionsFileLocation location;
    location.writePath = optionsPath();
    if (std::filesystem::exists(location.writePath)) {
        location.readPath = location.writePath;
    }
    app::MainWindowServices services{
        prompter,
        ticks,
        [this](const QUrl& url) {
            openedUrls.push_back(url);
            return true;
        },
        location,
        manualPath(),
        dir_.path().toStdString(),
        [] {
            static const media::FfmpegProbe probe;
            return &probe;
        },
    };
    window_ = std::make_unique<app::MainWindow>(std::move(services));
    return *window_;
}

void WindowFixture::closeWithoutQuestion() {
    if (window_) {
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_.reset();
    }
}

QString makeClip(const QString& folder, const QString& name, int seconds) {
    const QString path = QDir(folder).filePath(name);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                  QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                  QStringLiteral("-i"), QStringLiteral("testsrc=size=320x160:rate=25"),
                  QStringLiteral("-t"), QString::number(seconds), QStringLiteral("-pix_fmt"),
                  QStringLiteral("yuv420p"), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                  QStringLiteral("-y"), path});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        return {};
    }
    return path;
}

} // namespace qm::test
