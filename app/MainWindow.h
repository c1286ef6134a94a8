#pragma once
// The main window: the top area with the load and command buttons, the options
// panel, the preview with its yaw slider, the hot spot editor, the menus and the
// four keys. Every command plays the tick first, then does its work.

#include "app/AboutBox.h"
#include "app/Prompter.h"
#include "media/MediaProbe.h"
#include "persist/OptionsFile.h"
#include "ui/Gradient.h"

#include <QCursor>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

class QAction;
class QLabel;

namespace qm::preview {
class PreviewArea;
} // namespace qm::preview

namespace qm::app {

class GradientButton;
class HotSpotEditor;
class HotSpotPanel;
class OptionsPanel;
class OptionsStore;
class PathLabel;
class TickPlayer;
class Tooltips;

struct MainWindowServices {
    Prompter& prompter;
    TickPlayer& ticks;
    UrlOpener openUrl;
    OptionsFileLocation optionsFile;
    std::filesystem::path manualPath; // "tv360_player.pdf" beside the executable
    std::string startDir;             // the remembered folders start here
    // The media probe, loaded when first asked for; null when it cannot be.
    std::function<const media::MediaProbe*()> mediaProbe;
};

enum class Command {
    LoadVideo1,
    LoadVideo2,
    LoadVideo3,
    Publish,
    LoadProject,
    SaveProject,
    Exit,
    DefaultOptions,
    SaveOptions,
    ClearExtraVideos,
    ToggleTooltips,
    QuickHelp,
    Manual,
    About,
    AddHotSpot,
    DeleteHotSpot,
    DeleteAllHotSpots,
};

struct MenuActions {
    QAction* loadVideo = nullptr;
    QAction* publish = nullptr;
    QAction* loadProject = nullptr;
    QAction* saveProject = nullptr;
    QAction* exit = nullptr;
    QAction* defaultOptions = nullptr;
    QAction* saveOptions = nullptr;
    QAction* clearExtraVideos = nullptr;
    QAction* toggleTooltips = nullptr;
    QAction* quickHelp = nullptr;
    QAction* manual = nullptr;
    QAction* about = nullptr;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 1200;
    static constexpr int kClientHeight = 695;

    explicit MainWindow(MainWindowServices services);
    ~MainWindow() override;

    OptionsStore& store() const { return *store_; }
    QWidget* client() const { return client_; }
    preview::PreviewArea& preview() const { return *preview_; }
    OptionsPanel& optionsPanel() const { return *optionsPanel_; }
    HotSpotPanel& hotSpotPanel() const { return *hotSpotPanel_; }
    HotSpotEditor& hotSpotEditor() const { return *hotSpotEditor_; }
    Tooltips& tooltips() const { return *tooltips_; }
    const MenuActions& menuActions() const { return actions_; }
    PathLabel* pathLabel(int n) const { return pathLabels_.at(static_cast<std::size_t>(n - 1)); }
    const QCursor& appCursor() const { return cursor_; }
    const std::filesystem::path& optionsFilePath() const { return services_.optionsFile.writePath; }

    // Every command of the window: the tick, then the action.
    void run(Command command);

    // Loads a video into slot n without a dialog, as a chosen file would be.
    void loadVideo(int n, const QString& path);
    // Applies a project file (options, videos, hot spots), shows its slots and
    // plays its VIDEO1; a file that cannot be read is reported and changes nothing.
    bool openProject(const std::filesystem::path& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildClient();
    void buildTitles();
    void buildLoadRow();
    void buildCommandRow();
    void buildMenus();
    void buildShortcuts();
    GradientButton* addCommandButton(const QString& caption, ui::GradientFamily family,
                                     const QString& name, const QRect& where, Command command);
    void readOptionsAtStart();
    void followTooltipSwitch();
    void showVideoPaths();
    void centreInWorkArea();

    void loadVideoCommand(int n);
    // Tells the person once per file what will go wrong with it on the web.
    void tellAboutVideo(const std::string& path);
    void tellUntold();
    void publishCommand();
    void loadProjectCommand();
    // True when the project was written.
    bool saveProjectCommand();
    // Before work that would lose unsaved hot spots: true to go on.
    bool offerToSaveHotSpots();
    void defaultOptionsCommand();
    void saveOptionsCommand(bool askedByUser);
    // Fields a later read would give otherwise, named after a save.
    void warnAboutTagText(const std::vector<std::string>& tagTextFields);
    void toggleTooltipsCommand();
    void quickHelpCommand();
    void manualCommand();
    void aboutCommand();
    void pickColour(bool background);

    MainWindowServices services_;
    QCursor cursor_;
    OptionsStore* store_ = nullptr;
    QWidget* client_ = nullptr;
    preview::PreviewArea* preview_ = nullptr;
    OptionsPanel* optionsPanel_ = nullptr;
    HotSpotPanel* hotSpotPanel_ = nullptr;
    HotSpotEditor* hotSpotEditor_ = nullptr;
    Tooltips* tooltips_ = nullptr;
    std::array<PathLabel*, 3> pathLabels_{};
    MenuActions actions_;
    CustomColours customColours_{};
    bool backgroundPickerBusy_ = false;
    bool blackAreaPickerBusy_ = false;
    bool centred_ = false;
    bool exitConfirmed_ = false;
    std::set<std::string> toldVideos_; // path, size and time of each file told about
    std::vector<QString> untold_;      // found before the window showed
};

// The program's cursor over the clickable controls, with its hot spot.
QCursor loadAppCursor();

// The eight entries of the video file dialog.
const std::vector<FileFilter>& videoFileFilters();

} // namespace qm::app
