#include "app/DesktopApp.h"

#include "app/MainWindow.h"
#include "app/TickSound.h"
#include "app/module/ExitCodes.h"
#include "app/module/InstallLayout.h"
#include "media/ProbeModule.h"
#include "ui/Look.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QStyleFactory>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>

// The pictures, cursor and sound live in a static library, whose resource
// object the linker would drop unless something refers to it.
static void initialiseResources() {
    Q_INIT_RESOURCE(app);
}

namespace qm::app {

namespace {

// For tools/bench/startup.sh: wall-clock nanoseconds since the epoch of a
// start-up step.
void printProbe(const char* step) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::cout << step << "-at-ns "
              << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() << std::endl;
}

// Prints the time of the window's first paint and ends the program.
class FirstPaintProbe : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QTimer::singleShot(0, this, [] {
                printProbe("shown");
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool reported_ = false;
};

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
    initialiseResources();
    // Liberation Serif has the metrics of Times New Roman.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(ui::dialogFont());
}

int runDesktop(int argc, char** argv, const std::optional<std::string>& fileToOpen) {
    const bool probe = qEnvironmentVariableIsSet("QM_STARTUP_PROBE");
    prepareEnvironment();
    QApplication application(argc, argv);
    prepareApplication();
    if (probe) {
        printProbe("application");
    }

    const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();
    const desktop::InstallLayout layout = desktop::installLayoutFor(executable);
    QtPrompter prompter;
    TickSound ticks;
    MainWindowServices services{
        prompter,
        ticks,
        [](const QUrl& url) { return QDesktopServices::openUrl(url); },
        optionsFileLocation(executable, layout.installed),
        layout.manualDir / desktop::kManualFileName,
        QDir::currentPath().toStdString(),
        // FFmpeg's libraries are loaded with the first video looked into, not at start-up.
        [loaded = std::optional<media::LoadedProbe>(),
         module = layout.moduleDir / media::kProbeModuleFileName]() mutable {
            if (!loaded) {
                loaded = media::loadProbeModule(module);
            }
            return loaded->probe;
        },
    };
    MainWindow window(std::move(services));
    if (fileToOpen && !openInitialFile(window, *fileToOpen)) {
        return kFileSystem;
    }
    if (probe) {
        printProbe("window");
        window.client()->installEventFilter(new FirstPaintProbe(&window));
    }
    window.show();
    return QApplication::exec();
}

} // namespace qm::app
