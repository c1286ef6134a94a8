#include "app/MainWindow.h"

#include "app/GradientButton.h"
#include "app/HotSpotEditor.h"
#include "app/HotSpotPanel.h"
#include "app/OptionsPanel.h"
#include "app/OptionsStore.h"
#include "app/PathLabel.h"
#include "app/QuickHelp.h"
#include "app/TickSound.h"
#include "app/Tooltips.h"
#include "app/VideoFindingsText.h"
#include "app/WindowPublishUi.h"
#include "persist/ProjectFile.h"
#include "preview/PlayerControl.h"
#include "preview/PreviewArea.h"
#include "publish/Publisher.h"
#include "ui/Look.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace qm::app {

namespace {
const QColor kHtml5Blue{0, 191, 255};
const QColor kBuildBlue{0, 0, 255};
const QString kWarningCaption = QStringLiteral("Предупреждение !");
const QString kUnsavedCaption = QStringLiteral("Hot Spots");
const QString kUnsavedText =
    QStringLiteral("Точки Hot Spot изменены после последнего сохранения проекта.\n"
                   "Сохранить проект?");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* addTitleLabel(QWidget* client, const QString& text, const QString& name, const QRect& where,
                      const QColor& colour, Qt::Alignment alignment) {
    auto* label = new QLabel(text, client);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(ui::titleFont());
    label->setAlignment(alignment | Qt::AlignTop);
    ui::setColours(label, colour, std::nullopt);
    label->setGeometry(where);
    return label;
}

QString fileErrorText(const FileError& error) {
    return fromUtf8(error.path) + u'\n' + fromUtf8(error.reason);
}

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}
} // namespace

QCursor loadAppCursor() {
    const QPixmap picture(QStringLiteral(":/app/autor.png"));
    if (picture.isNull()) {
        return QCursor(Qt::PointingHandCursor);
    }
    // The hot spot file holds the pointer's tip as "x y" in the picture.
    int x = 0;
    int y = 0;
    QFile hotSpot(QStringLiteral(":/app/autor.hotspot"));
    if (hotSpot.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> parts = hotSpot.readAll().simplified().split(' ');
        if (parts.size() == 2) {
            x = parts[0].toInt();
            y = parts[1].toInt();
        }
    }
    return QCursor(picture, x, y);
}

const std::vector<FileFilter>& videoFileFilters() {
    static const std::vector<FileFilter> kFilters = {
        {QStringLiteral("All video files"),
         QStringLiteral("*.mp4;*.webm;*.mov;*.m4v;*.ogg;*.qt;*.ogv")},
        {QStringLiteral("MP4 video files (*.MP4)"), QStringLiteral("*.mp4")},
        {QStringLiteral("MOV video files (*.MOV)"), QStringLiteral("*.mov")},
        {QStringLiteral("WEBM video files (*.WEBM)"), QStringLiteral("*.webm")},
        {QStringLiteral("M4V video files (*.M4V)"), QStringLiteral("*.m4v")},
        {QStringLiteral("OGG video files (*.OGG)"), QStringLiteral("*.ogg")},
        {QStringLiteral("QT video files (*.QT)"), QStringLiteral("*.qt")},
        {QStringLiteral("OGV video files (*.OGV)"), QStringLiteral("*.ogv")},
    };
    return kFilters;
}

MainWindow::MainWindow(MainWindowServices services)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      services_(std::move(services)), cursor_(loadAppCursor()) {
    setObjectName(QStringLiteral("mainWindow"));
    // The custom colours of the colour dialogs start black and last for the run.
    customColours_.fill(QColor(Qt::black));
    // "[*]" shows a star while hot spots are not saved in a project.
    setWindowTitle(QStringLiteral("Quillmark[*]"));
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/app/VIDEO-%1.png").arg(size), QSize(size, size));
    }
    setWindowIcon(icon);

    store_ = new OptionsStore(Project{PlayerOptions::fresh(services_.startDir), {}, {}}, this);
    buildMenus();
    buildClient();
    readOptionsAtStart();
    tooltips_ = new Tooltips(this);
    tooltips_->registerAll();
    followTooltipSwitch();
    buildShortcuts();
    connect(store_, &OptionsStore::optionsChanged, this, &MainWindow::followTooltipSwitch);
    connect(store_, &OptionsStore::videosChanged, this, &MainWindow::showVideoPaths);
    connect(store_, &OptionsStore::hotSpotsUnsavedChanged, this, &MainWindow::setWindowModified);
    showVideoPaths();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildClient() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(kClientWidth, kClientHeight);
    ui::setColours(client_, Qt::black, ui::kWindowGrey);
    setCentralWidget(client_);

    buildTitles();
    preview_ = new preview::PreviewArea(client_, cursor_);
    buildLoadRow();
    buildCommandRow();
    optionsPanel_ = new OptionsPanel(client_, *store_);
    hotSpotPanel_ = new HotSpotPanel(client_, cursor_);
    hotSpotEditor_ =
        new HotSpotEditor(*hotSpotPanel_, *preview_, *store_, services_.prompter, this, cursor_);
    preview_->marker()->raise();

    connect(optionsPanel_, &OptionsPanel::commandIssued, this,
            [this] { services_.ticks.playTick(); });
    connect(hotSpotPanel_, &HotSpotPanel::commandIssued, this,
            [this] { services_.ticks.playTick(); });
    connect(hotSpotPanel_, &HotSpotPanel::addRequested, this, [this] { run(Command::AddHotSpot); });
    connect(hotSpotPanel_, &HotSpotPanel::deleteRequested, this,
            [this] { run(Command::DeleteHotSpot); });
    connect(hotSpotPanel_, &HotSpotPanel::deleteAllRequested, this,
            [this] { run(Command::DeleteAllHotSpots); });
    connect(optionsPanel_->htmlBgButton(), &QPushButton::clicked, this,
            [this] { pickColour(true); });
    connect(optionsPanel_->blackAreaButton(), &QPushButton::clicked, this,
            [this] { pickColour(false); });
}

void MainWindow::buildTitles() {
    // Centred, "Quillmark" would run under "Html5" at x 530, so the name ends
    // just before it instead; the two read as one title.
    constexpr int kTitleEndX = 526;
    const QRect shadowRect(76, 10, 1000, 65);
    const QRect titleRect(75, 9, 1000, 65);
    auto* shadow =
        addTitleLabel(client_, QStringLiteral("Quillmark"), QStringLiteral("titleShadow"),
                      shadowRect, Qt::black, Qt::AlignRight);
    shadow->setContentsMargins(0, 0, titleRect.right() + 1 - kTitleEndX, 0);
    auto* title = addTitleLabel(client_, QStringLiteral("Quillmark"), QStringLiteral("title"),
                                titleRect, Qt::white, Qt::AlignRight);
    title->setContentsMargins(0, 0, titleRect.right() + 1 - kTitleEndX, 0);
    addTitleLabel(client_, QStringLiteral("Html5"), QStringLiteral("titleHighlight"),
                  QRect(530, 9, 90, 65), kHtml5Blue, Qt::AlignLeft);
    auto* build = new QLabel(QStringLiteral(" Build 012.00"), client_);
    build->setObjectName(QStringLiteral("buildLabel"));
    build->setTextFormat(Qt::PlainText);
    build->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::setColours(build, kBuildBlue, std::nullopt);
    build->setGeometry(1092, 35, 70, 20);
}

GradientButton* MainWindow::addCommandButton(const QString& caption, ui::GradientFamily family,
                                             const QString& name, const QRect& where,
                                             Command command) {
    auto* button = new GradientButton(caption, family, client_);
    button->setObjectName(name);
    button->setCursor(cursor_);
    button->setGeometry(where);
    connect(button, &GradientButton::clicked, this, [this, command] { run(command); });
    return button;
}

void MainWindow::buildLoadRow() {
    const QString caption = QStringLiteral("Загрузить Web видео");
    const std::array<ui::GradientFamily, 3> families = {
        ui::GradientFamily::Green, ui::GradientFamily::Grey, ui::GradientFamily::Grey};
    const std::array<Command, 3> commands = {Command::LoadVideo1, Command::LoadVideo2,
                                             Command::LoadVideo3};
    for (int n = 1; n <= 3; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const int y = 52 + 22 * (n - 1);
        addCommandButton(caption + QString::number(n), families[i],
                         QStringLiteral("loadVideo%1Button").arg(n), QRect(5, y, 139, 22),
                         commands[i]);
    }
    for (int n = 1; n <= 3; ++n) {
        auto* path = new PathLabel(client_);
        path->setObjectName(QStringLiteral("video%1Path").arg(n));
        ui::setColours(path, Qt::black, ui::kPathGrey);
        ui::setClientEdge(path);
        path->setGeometry(145, 52 + 22 * (n - 1), 1050, 20);
        pathLabels_[static_cast<std::size_t>(n - 1)] = path;
    }
}

void MainWindow::buildCommandRow() {
    addCommandButton(QStringLiteral("Опубликовать видео для Web"), ui::GradientFamily::Teal,
                     QStringLiteral("publishButton"), QRect(5, 120, 196, 26), Command::Publish);
    addCommandButton(QStringLiteral("Опции по умолчанию"), ui::GradientFamily::Blue,
                     QStringLiteral("defaultOptionsButton"), QRect(203, 120, 196, 26),
                     Command::DefaultOptions);
    addCommandButton(QStringLiteral("Сохранить опции"), ui::GradientFamily::Blue,
                     QStringLiteral("saveOptionsButton"), QRect(401, 120, 196, 26),
                     Command::SaveOptions);
    addCommandButton(QStringLiteral("О разработке"), ui::GradientFamily::Blue,
                     QStringLiteral("aboutButton"), QRect(599, 120, 196, 26), Command::About);
    addCommandButton(QStringLiteral("Выход"), ui::GradientFamily::Red, QStringLiteral("exitButton"),
                     QRect(995, 120, 198, 26), Command::Exit);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const QString& text, Command command) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File "));
    file->setObjectName(QStringLiteral("fileMenu"));
    actions_.loadVideo =
        add(file, QStringLiteral("& Загрузить Web видео\tCtrl+L"), Command::LoadVideo1);
    file->addSeparator();
    actions_.publish =
        add(file, QStringLiteral("Опубликовать видео для Web\tCtrl+P"), Command::Publish);
    file->addSeparator();
    actions_.loadProject = add(file, QStringLiteral("Загрузить проект"), Command::LoadProject);
    actions_.saveProject = add(file, QStringLiteral("Сохранить проект"), Command::SaveProject);
    file->addSeparator();
    actions_.exit = add(file, QStringLiteral("&Выход из IDE\tAlt+F4"), Command::Exit);

    QMenu* options = bar->addMenu(QStringLiteral("&Опции"));
    options->setObjectName(QStringLiteral("optionsMenu"));
    actions_.defaultOptions =
        add(options, QStringLiteral("Опции по умолчанию"), Command::DefaultOptions);
    actions_.saveOptions = add(options, QStringLiteral("Сохранить опции"), Command::SaveOptions);
    options->addSeparator();
    actions_.clearExtraVideos =
        add(options, QStringLiteral("Удалить пути добавленых видео"), Command::ClearExtraVideos);
    options->addSeparator();
    actions_.toggleTooltips =
        add(options, QStringLiteral("Показать/скрыть всплывающую помощь"), Command::ToggleTooltips);
    actions_.toggleTooltips->setCheckable(true);
    actions_.toggleTooltips->setChecked(true);

    QMenu* help = bar->addMenu(QStringLiteral("&Помощь"));
    help->setObjectName(QStringLiteral("helpMenu"));
    actions_.quickHelp = add(help, QStringLiteral("&Краткая помощь\tF1"), Command::QuickHelp);
    actions_.manual =
        add(help, QStringLiteral("&Руководство пользователя\tCtrl+F1"), Command::Manual);
    help->addSeparator();
    actions_.about = add(help, QStringLiteral("О разработке"), Command::About);
}

void MainWindow::buildShortcuts() {
    const std::array<std::pair<QKeySequence, Command>, 4> keys = {{
        {QKeySequence(Qt::Key_F1), Command::QuickHelp},
        {QKeySequence(Qt::CTRL | Qt::Key_L), Command::LoadVideo1},
        {QKeySequence(Qt::CTRL | Qt::Key_P), Command::Publish},
        {QKeySequence(Qt::CTRL | Qt::Key_F1), Command::Manual},
    }};
    for (const auto& [sequence, command] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, cmd = command] { run(cmd); });
    }
}

void MainWindow::readOptionsAtStart() {
    const std::optional<std::filesystem::path>& readPath = services_.optionsFile.readPath;
    if (!readPath) {
        return;
    }
    PlayerOptions options = store_->options();
    // A file that cannot be read leaves the start-up values, as a missing one does.
    const OptionsReadResult result = readOptionsFile(*readPath, options, services_.startDir);
    if (result.applied) {
        store_->setOptions(std::move(options));
    }
}

void MainWindow::followTooltipSwitch() {
    const bool on = store_->options().tooltipHelp == 1;
    actions_.toggleTooltips->setChecked(on);
    if (tooltips_) {
        tooltips_->setActive(on);
    }
}

void MainWindow::showVideoPaths() {
    for (int n = 1; n <= 3; ++n) {
        pathLabel(n)->setText(QString::fromStdString(store_->videos().path(n)));
    }
}

void MainWindow::run(Command command) {
    services_.ticks.playTick();
    switch (command) {
    case Command::LoadVideo1:
        return loadVideoCommand(1);
    case Command::LoadVideo2:
        return loadVideoCommand(2);
    case Command::LoadVideo3:
        return loadVideoCommand(3);
    case Command::Publish:
        return publishCommand();
    case Command::LoadProject:
        services_.ticks.playTick();
        return loadProjectCommand();
    case Command::SaveProject:
        services_.ticks.playTick();
        saveProjectCommand();
        return;
    case Command::Exit:
        close();
        return;
    case Command::DefaultOptions:
        return defaultOptionsCommand();
    case Command::SaveOptions:
        return saveOptionsCommand(true);
    case Command::ClearExtraVideos:
        store_->clearExtraVideos();
        return;
    case Command::ToggleTooltips:
        return toggleTooltipsCommand();
    case Command::QuickHelp:
        return quickHelpCommand();
    case Command::Manual:
        return manualCommand();
    case Command::About:
        return aboutCommand();
    case Command::AddHotSpot:
        return hotSpotEditor_->addHotSpot();
    case Command::DeleteHotSpot:
        return hotSpotEditor_->deleteHotSpot();
    case Command::DeleteAllHotSpots:
        if (offerToSaveHotSpots()) {
            hotSpotEditor_->deleteAllHotSpots();
        }
        return;
    }
}

void MainWindow::loadVideoCommand(int n) {
    FileDialogRequest request;
    request.title = QStringLiteral("Загрузить Web видео");
    request.initialFolder = QString::fromStdString(store_->options().loadDir);
    if (request.initialFolder.trimmed().isEmpty()) {
        request.initialFolder = QString::fromStdString(services_.startDir);
    }
    request.filters = videoFileFilters();
    const std::optional<QString> chosen = services_.prompter.chooseFile(this, request);
    if (!chosen || chosen->trimmed().isEmpty()) {
        return;
    }
    loadVideo(n, *chosen);
}

void MainWindow::loadVideo(int n, const QString& path) {
    const std::string folder = folderOf(path).toStdString();
    store_->changeOptions([&](PlayerOptions& options) { options.loadDir = folder; });
    store_->setVideo(n, path.toStdString());
    preview_->player().open(path);
    preview_->player().play();
    tellAboutVideo(path.toStdString());
}

void MainWindow::tellAboutVideo(const std::string& path) {
    const media::MediaProbe* probe = services_.mediaProbe ? services_.mediaProbe() : nullptr;
    const QFileInfo file(QString::fromStdString(path));
    if (probe == nullptr || !file.isFile()) {
        return;
    }
    // The same file is told about once; a changed file (new size or time) again.
    const std::string key = path + '\n' + std::to_string(file.size()) + '\n' +
                            std::to_string(file.lastModified().toMSecsSinceEpoch());
    if (!toldVideos_.insert(key).second) {
        return;
    }
    const QString text = findingsText(media::checkVideo(*probe, path));
    if (text.isEmpty()) {
        return;
    }
    // A video opened with the program is told about over the shown window.
    if (!isVisible()) {
        untold_.push_back(text);
        return;
    }
    services_.prompter.inform(this, MessageIcon::Warning, kWarningCaption, text);
}

void MainWindow::tellUntold() {
    const std::vector<QString> texts = std::exchange(untold_, {});
    for (const QString& text : texts) {
        services_.prompter.inform(this, MessageIcon::Warning, kWarningCaption, text);
    }
}

bool MainWindow::openProject(const std::filesystem::path& path) {
    Project project = store_->project();
    // An empty LOADDIR or SAVEDIR in the file becomes the project's own folder.
    const std::string folder = folderOf(QString::fromStdString(path.string())).toStdString();
    const ProjectReadResult result = readProjectFile(path, project, folder);
    if (!result.applied) {
        if (result.error) {
            services_.prompter.inform(this, MessageIcon::Warning, kWarningCaption,
                                      QStringLiteral("Не удалось прочитать проект:\n") +
                                          fileErrorText(*result.error));
        }
        return false;
    }
    store_->setProject(std::move(project));
    hotSpotEditor_->showLoadedProject();
    client_->update();
    // An empty VIDEO1 empties the preview, so no video of the last project plays on.
    preview_->player().open(QString::fromStdString(result.videoToOpen));
    preview_->player().play();
    for (int n = 1; n <= 3; ++n) {
        tellAboutVideo(store_->videos().path(n));
    }
    return true;
}

void MainWindow::loadProjectCommand() {
    if (!offerToSaveHotSpots()) {
        return;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Load a Project");
    request.initialFolder = QString::fromStdString(store_->options().loadDir);
    request.filters = {{QStringLiteral("Project files"), QStringLiteral("*.pp5")}};
    const std::optional<QString> chosen = services_.prompter.chooseFile(this, request);
    if (!chosen || chosen->trimmed().isEmpty()) {
        return;
    }
    const std::string folder = folderOf(*chosen).toStdString();
    store_->changeOptions([&](PlayerOptions& options) { options.loadDir = folder; });
    openProject(std::filesystem::path(chosen->toStdString()));
}

bool MainWindow::saveProjectCommand() {
    FileDialogRequest request;
    request.title = QStringLiteral("Save the Project");
    request.proposedName = QStringLiteral("*.pp5");
    request.initialFolder = QString::fromStdString(store_->options().loadDir);
    request.filters = {{QStringLiteral("Project file (*.pp5)"), QStringLiteral("*.pp5")}};
    request.save = true;
    const std::optional<QString> chosen = services_.prompter.chooseFile(this, request);
    if (!chosen || chosen->trimmed().isEmpty()) {
        return false;
    }
    const std::string folder = folderOf(*chosen).toStdString();
    store_->changeOptions([&](PlayerOptions& options) { options.saveDir = folder; });
    const std::filesystem::path path = withProjectExtension(chosen->toStdString());
    const ProjectWriteResult result = writeProjectFile(path, store_->project());
    if (result.error) {
        services_.prompter.inform(this, MessageIcon::Warning, kWarningCaption,
                                  QStringLiteral("Не удалось сохранить проект:\n") +
                                      fileErrorText(*result.error));
        return false;
    }
    store_->markProjectSaved();
    warnAboutTagText(result.tagTextFields);
    return true;
}

bool MainWindow::offerToSaveHotSpots() {
    if (!store_->hotSpotsUnsaved()) {
        return true;
    }
    switch (services_.prompter.askToSave(this, kUnsavedCaption, kUnsavedText)) {
    case SaveChoice::Save:
        return saveProjectCommand();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        return false;
    }
    return false;
}

void MainWindow::publishCommand() {
    const media::MediaProbe* probe = services_.mediaProbe ? services_.mediaProbe() : nullptr;
    WindowPublishUi ui(this, services_.prompter, preview_->player(), services_.ticks, probe);
    Project project = store_->project();
    Publisher(ui).publish(project);
    // Publishing keeps some changes: icon codes 0 become 200, SAVEDIR moves,
    // a manual size too small is reset.
    store_->setOptions(std::move(project.options));
}

void MainWindow::defaultOptionsCommand() {
    if (!offerToSaveHotSpots()) {
        return;
    }
    store_->changeOptions([](PlayerOptions& options) { options.resetToDefaults(); });
    store_->clearAllVideos();
}

void MainWindow::saveOptionsCommand(bool askedByUser) {
    const OptionsWriteResult result =
        writeOptionsFile(services_.optionsFile.writePath, store_->project(), askedByUser);
    if (result.message) {
        services_.prompter.inform(this, MessageIcon::Information, fromUtf8(result.message->caption),
                                  fromUtf8(result.message->text));
        return;
    }
    if (result.error) {
        services_.prompter.inform(this, MessageIcon::Warning, kWarningCaption,
                                  QStringLiteral("Не удалось сохранить опции:\n") +
                                      fileErrorText(*result.error));
        return;
    }
    warnAboutTagText(result.tagTextFields);
}

void MainWindow::warnAboutTagText(const std::vector<std::string>& tagTextFields) {
    if (tagTextFields.empty()) {
        return;
    }
    QStringList fields;
    for (const std::string& field : tagTextFields) {
        fields << QString::fromStdString(field);
    }
    services_.prompter.inform(
        this, MessageIcon::Warning, kWarningCaption,
        QStringLiteral("Текст с тегами (\"</\", \"<HSPOS1>\") файл прочитает иначе: ") +
            fields.join(QStringLiteral(", ")));
}

void MainWindow::toggleTooltipsCommand() {
    store_->changeOptions(
        [](PlayerOptions& options) { options.tooltipHelp = options.tooltipHelp == 1 ? 0 : 1; });
    followTooltipSwitch();
}

void MainWindow::quickHelpCommand() {
    QuickHelp help(this, services_.ticks);
    services_.prompter.showModal(help);
}

void MainWindow::manualCommand() {
    const QString manual = QString::fromStdString(services_.manualPath.string());
    // The desktop's viewer opens it in its own process, so the window goes on.
    if (!QFileInfo::exists(manual) || !services_.openUrl(QUrl::fromLocalFile(manual))) {
        services_.prompter.inform(this, MessageIcon::Warning,
                                  QStringLiteral("Руководство пользователя"),
                                  QStringLiteral("Не удалось открыть руководство:\n") + manual);
    }
}

void MainWindow::aboutCommand() {
    AboutBox about(this, cursor_, services_.openUrl);
    services_.prompter.showModal(about);
}

void MainWindow::pickColour(bool background) {
    bool& busy = background ? backgroundPickerBusy_ : blackAreaPickerBusy_;
    if (busy) {
        return;
    }
    busy = true;
    QPointer<MainWindow> self(this);
    const QString title = background ? QStringLiteral("Цвет фона страницы (Html BGColor)")
                                     : QStringLiteral("Цвет чёрных областей (Black Areas)");
    services_.prompter.pickColour(
        title, Qt::white, customColours_,
        [self, background](std::optional<QColor> chosen, const CustomColours& custom) {
            if (!self) {
                return;
            }
            self->customColours_ = custom;
            (background ? self->backgroundPickerBusy_ : self->blackAreaPickerBusy_) = false;
            // A cancelled dialog keeps the colour as it was.
            if (!chosen) {
                return;
            }
            const std::uint32_t colour = OptionsPanel::fromQColor(*chosen);
            self->store_->changeOptions([&](PlayerOptions& options) {
                (background ? options.htmlBgColor : options.blackAreaColor) = colour;
            });
        });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (exitConfirmed_) {
        event->accept();
        return;
    }
    // With unsaved hot spots the question is whether to save them; otherwise
    // the usual confirmation.
    const bool goOn = store_->hotSpotsUnsaved()
                          ? offerToSaveHotSpots()
                          : services_.prompter.confirm(this, QStringLiteral("Выход из IDE"),
                                                       QStringLiteral("Вы уверены?"));
    if (!goOn) {
        event->ignore();
        return;
    }
    exitConfirmed_ = true;
    saveOptionsCommand(false);
    preview_->player().stop();
    services_.prompter.closeColourDialogs();
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_) {
        centred_ = true;
        centreInWorkArea();
    }
    if (!untold_.empty()) {
        // Once the window is drawn, not from inside its show.
        QTimer::singleShot(0, this, &MainWindow::tellUntold);
    }
}

void MainWindow::centreInWorkArea() {
    const QScreen* screen = this->screen();
    if (!screen) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    const int x = std::max(0, 2 * area.left() + area.width() - outer.width()) / 2;
    const int y = std::max(0, 2 * area.top() + area.height() - outer.height()) / 2;
    move(x, y);
}

} // namespace qm::app
