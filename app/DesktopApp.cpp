#include "app/DesktopApp.h"

#include "app/Look.h"
#include "app/MainWindow.h"
#include "app/cli/CliCommand.h"
#include "preview/TickSound.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QStyleFactory>

#include <filesystem>
#include <iostream>

namespace qm::app {

namespace {
constexpr const char* kManualName = "tv360_player.pdf";

bool isProjectFile(const QString& path) {
    return path.endsWith(QStringLiteral(".pp5"), Qt::CaseInsensitive);
}

// Opens the file named on the command line; false when it cannot be used.
bool openInitialFile(MainWindow& window, const std::string& file) {
    const QFileInfo info(QString::fromStdString(file));
    if (!info.isFile()) {
        std::cerr << "quillmark: " << file << ": no such file\n";
        return false;
    }
    const QString path = info.absoluteFilePath();
    if (isProjectFile(path)) {
        return window.openProject(std::filesystem::path(path.toStdString()));
    }
    window.loadVideo(1, path);
    return true;
}
} // namespace

void prepareEnvironment() {
    // Qt's FFmpeg back end crashes with an audio output on machines without a
    // sound device; GStreamer does not.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    }
}

void prepareApplication() {
    // Liberation Serif has the metrics of Times New Roman.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(dialogFont());
}

int runDesktop(int argc, char** argv, const std::optional<std::string>& fileToOpen) {
    prepareEnvironment();
    QApplication application(argc, argv);
    prepareApplication();

    const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();
    QtPrompter prompter;
    preview::TickSound ticks;
    MainWindowServices services{
        prompter,
        ticks,
        [](const QUrl& url) { return QDesktopServices::openUrl(url); },
        optionsFileLocation(executable),
        executable.parent_path() / kManualName,
        QDir::currentPath().toStdString(),
    };
    MainWindow window(std::move(services));
    if (fileToOpen && !openInitialFile(window, *fileToOpen)) {
        return cli::kFileSystem;
    }
    window.show();
    return QApplication::exec();
}

} // namespace qm::app
