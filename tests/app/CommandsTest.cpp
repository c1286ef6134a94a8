// The window's commands as a person uses them: the options file read at start
// and written on a confirmed exit, "Сохранить опции", "Опции по умолчанию",
// loading videos, the colour pickers, the About links, the manual and the tick.

#include "app/AboutBox.h"
#include "app/HotSpotPanel.h"
#include "app/OptionsPanel.h"
#include "app/OptionsStore.h"
#include "app/PathLabel.h"
#include "app/Tooltips.h"
#include "persist/FileIo.h"
#include "persist/OptionsFile.h"
#include "preview/PlayerControl.h"
#include "preview/PreviewArea.h"
#include "tests/app/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <fstream>

using qm::app::Command;
using qm::test::WindowFixture;

namespace {

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readBytes(const std::filesystem::path& path) {
    const qm::FileRead read = qm::readWholeFile(path);
    return read.ok() ? read.bytes : std::string();
}

QColor swatchColour(const QLabel* swatch) {
    return swatch->palette().color(QPalette::Window);
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void optionsFileIsReadAtStart();
    void storedTooltipSwitchOfTwoStaysTwo();
    void saveOptionsWithoutVideoTellsTheUser();
    void confirmedExitWritesTheOptionsFile();
    void cancelledExitKeepsTheWindow();
    void exitWithoutVideoWritesNothing();
    void unwritableOptionsFileIsReportedOnExit();
    void titleOutsideWindows1251IsKeptAndTagTextReported();
    void defaultOptionsResetExactlyTheirSet();
    void controlsWriteTheStoreAndShowIt();
    void loadingVideosFollowsTheFolders();
    void cancelledVideoDialogChangesNothing();
    void clearExtraVideosKeepsVideo1();
    void everyCommandTicks();
    void colourPickAndCancel();
    void colourButtonIsBusyWhileItsDialogIsOpen();
    void aboutLinksOpenThroughTheDesktop();
    void manualOpensWhenItIsThere();
    void openCommandRefusesWhatItCannotOpen();
};

void CommandsTest::optionsFileIsReadAtStart() {
    WindowFixture fixture;
    writeBytes(fixture.optionsPath(),
               "<WINDOW>12</WINDOW>\r\n<CONTROLS>0</CONTROLS>\r\n<STAT>1</STAT>\r\n"
               "<HTMLBGCOLOR>0000FF</HTMLBGCOLOR>\r\n<VIEWMODE>1</VIEWMODE>\r\n"
               "<HTMLTITLE>  Tour  </HTMLTITLE>\r\n<AUDIO>11</AUDIO>\r\n"
               "<TOOLTIPHELP>0</TOOLTIPHELP>\r\n<LOADDIR>/videos</LOADDIR>\r\n");
    qm::app::MainWindow& window = fixture.open();
    QWidget* client = window.client();
    QCOMPARE(window.optionsPanel().list(qm::Choice::Window)->currentText(),
             QStringLiteral("12.1024x768"));
    QCOMPARE(window.optionsPanel().list(qm::Choice::Audio)->currentText(), QStringLiteral("100%"));
    // A tag missing from the file leaves its list without a selection.
    QCOMPARE(window.optionsPanel().list(qm::Choice::Zoom)->currentIndex(), -1);
    QVERIFY(!client->findChild<QCheckBox*>("controlsCheck")->isChecked());
    QVERIFY(client->findChild<QCheckBox*>("statCheck")->isChecked());
    QVERIFY(client->findChild<QRadioButton*>("blackAreasOption")->isChecked());
    QCOMPARE(swatchColour(window.optionsPanel().htmlBgSwatch()), QColor(255, 0, 0));
    QCOMPARE(client->findChild<QLineEdit*>("htmlTitleBox")->text(), QStringLiteral("Tour"));
    QVERIFY(!window.menuActions().toggleTooltips->isChecked());
    QVERIFY(!window.tooltips().isActive());
    QCOMPARE(window.store().options().loadDir, std::string("/videos"));
    QCOMPARE(window.store().options().saveDir, fixture.folder().toStdString());

    // Switching the tips on from the menu works after a file switched them off.
    window.menuActions().toggleTooltips->trigger();
    QVERIFY(window.menuActions().toggleTooltips->isChecked());
    QVERIFY(window.tooltips().isActive());
    QCOMPARE(window.store().options().tooltipHelp, 1);
    window.menuActions().toggleTooltips->trigger();
    QCOMPARE(window.store().options().tooltipHelp, 0);
    QVERIFY(!window.tooltips().isActive());
}

void CommandsTest::storedTooltipSwitchOfTwoStaysTwo() {
    WindowFixture fixture;
    writeBytes(fixture.optionsPath(), "<TOOLTIPHELP>2</TOOLTIPHELP>\r\n");
    qm::app::MainWindow& window = fixture.open();
    QVERIFY(!window.tooltips().isActive());
    QVERIFY(!window.menuActions().toggleTooltips->isChecked());
    window.loadVideo(1, fixture.folder() + QStringLiteral("/a.mp4"));
    window.run(Command::SaveOptions);
    QVERIFY(readBytes(fixture.optionsPath()).find("<TOOLTIPHELP>2</TOOLTIPHELP>\r\n") !=
            std::string::npos);
}

void CommandsTest::saveOptionsWithoutVideoTellsTheUser() {
    WindowFixture fixture;
    writeBytes(fixture.optionsPath(), "<WINDOW>5</WINDOW>\r\n");
    qm::app::MainWindow& window = fixture.open();
    window.run(Command::SaveOptions);
    QCOMPARE(fixture.prompter.messages.size(), std::size_t(1));
    QCOMPARE(fixture.prompter.messages[0].caption, QStringLiteral("Information:"));
    QCOMPARE(fixture.prompter.messages[0].text,
             QStringLiteral("You need to choose any video file, then you can save a parameters"));
    QCOMPARE(readBytes(fixture.optionsPath()), std::string("<WINDOW>5</WINDOW>\r\n"));
}

void CommandsTest::confirmedExitWritesTheOptionsFile() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    const QString video = QDir(fixture.folder()).filePath(QStringLiteral("clip.mp4"));
    window.loadVideo(1, video);
    window.show();
    fixture.prompter.confirmAnswers = {true};
    window.run(Command::Exit);
    QCOMPARE(fixture.prompter.questions,
             std::vector<QString>({QStringLiteral("Выход из IDE|Вы уверены?")}));
    QVERIFY(!window.isVisible());
    QVERIFY(fixture.prompter.messages.empty());
    // The fresh defaults with the video's folder as LOADDIR.
    const std::string folder = fixture.folder().toStdString();
    const std::string expected =
        "Generatad by Quillmark, d'not edit!\r\n"
        "------------------------------------------------\r\n"
        "<WINDOW>3</WINDOW>\r\n<CONTROLS>1</CONTROLS>\r\n<ZOOM>9</ZOOM>\r\n"
        "<CONTROLBAR>1</CONTROLBAR>\r\n<YAW>1</YAW>\r\n<PITCH>1</PITCH>\r\n<TILT>1</TILT>\r\n"
        "<AUDIO>6</AUDIO>\r\n<WIN_POS_X>1</WIN_POS_X>\r\n<WIN_POS_Y>1</WIN_POS_Y>\r\n"
        "<MOUSESPEED>1</MOUSESPEED>\r\n<MAXFPS>1</MAXFPS>\r\n<QUAL>1</QUAL>\r\n"
        "<FULLSCREEN>0</FULLSCREEN>\r\n<HTMLBGCOLOR>000000</HTMLBGCOLOR>\r\n"
        "<HTMLTITLE></HTMLTITLE>\r\n<STAT>0</STAT>\r\n"
        "<HS_ICON0>0</HS_ICON0>\r\n<HS_ICON1>0</HS_ICON1>\r\n<HS_ICON2>0</HS_ICON2>\r\n"
        "<HS_ICON3>0</HS_ICON3>\r\n<HS_ICON4>0</HS_ICON4>\r\n<HS_ICON5>0</HS_ICON5>\r\n"
        "<HS_ICON6>0</HS_ICON6>\r\n<HS_ICON7>0</HS_ICON7>\r\n<HS_ICON8>0</HS_ICON8>\r\n"
        "<HS_ICON9>0</HS_ICON9>\r\n<BORDER>0</BORDER>\r\n"
        "<VIEWMODE>0</VIEWMODE>  //   0 - classic, 1 - black areas\r\n"
        "<BLACKAREACOLOR>000000</BLACKAREACOLOR>\r\n<TOOLTIPHELP>1</TOOLTIPHELP>\r\n"
        "<BALANCE>1</BALANCE>\r\n<ZOOMMAX>130</ZOOMMAX>\r\n<LOADDIR>" +
        folder + "</LOADDIR>\r\n<SAVEDIR>" + folder + "</SAVEDIR>\r\n";
    QCOMPARE(readBytes(fixture.optionsPath()), expected);
}

void CommandsTest::cancelledExitKeepsTheWindow() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.loadVideo(1, fixture.folder() + QStringLiteral("/clip.mp4"));
    window.show();
    fixture.prompter.confirmAnswers = {false};
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QVERIFY(!std::filesystem::exists(fixture.optionsPath()));
}

void CommandsTest::exitWithoutVideoWritesNothing() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    QVERIFY(window.close());
    QVERIFY(!std::filesystem::exists(fixture.optionsPath()));
    QVERIFY(fixture.prompter.messages.empty());
}

void CommandsTest::unwritableOptionsFileIsReportedOnExit() {
    WindowFixture fixture;
    // A folder standing where the file should go cannot be replaced by a file.
    std::filesystem::create_directory(fixture.optionsPath());
    qm::app::MainWindow& window = fixture.open();
    window.loadVideo(1, fixture.folder() + QStringLiteral("/clip.mp4"));
    window.show();
    QVERIFY(window.close());
    QCOMPARE(fixture.prompter.messages.size(), std::size_t(1));
    QCOMPARE(fixture.prompter.messages[0].icon, qm::app::MessageIcon::Warning);
    QVERIFY(fixture.prompter.messages[0].text.contains(
        QString::fromStdString(fixture.optionsPath().string())));
}

void CommandsTest::titleOutsideWindows1251IsKeptAndTagTextReported() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.loadVideo(1, fixture.folder() + QStringLiteral("/clip.mp4"));
    auto* title = window.client()->findChild<QLineEdit*>("htmlTitleBox");
    title->setText(QStringLiteral("Tour 北京"));
    window.run(Command::SaveOptions);
    QVERIFY(fixture.prompter.messages.empty());
    qm::PlayerOptions read;
    QVERIFY(qm::readOptionsFile(fixture.optionsPath(), read, "/").applied);
    QCOMPARE(read.htmlTitle, std::string("Tour 北京"));

    title->setText(QStringLiteral("Tour </b>"));
    window.run(Command::SaveOptions);
    QCOMPARE(fixture.prompter.messages.size(), std::size_t(1));
    QVERIFY(fixture.prompter.messages[0].text.contains(QStringLiteral("HTMLTITLE")));
}

void CommandsTest::defaultOptionsResetExactlyTheirSet() {
    WindowFixture fixture;
    writeBytes(fixture.optionsPath(),
               "<WINDOW>7</WINDOW><ZOOM>2</ZOOM><AUDIO>1</AUDIO><YAW>4</YAW><QUAL>3</QUAL>"
               "<CONTROLS>0</CONTROLS><STAT>1</STAT><FULLSCREEN>1</FULLSCREEN>"
               "<VIEWMODE>1</VIEWMODE><HTMLBGCOLOR>123456</HTMLBGCOLOR>"
               "<BLACKAREACOLOR>FFFFFF</BLACKAREACOLOR><HTMLTITLE>T</HTMLTITLE>"
               "<TOOLTIPHELP>0</TOOLTIPHELP><HS_ICON3>205</HS_ICON3><ZOOMMAX>200</ZOOMMAX>"
               "<LOADDIR>/l</LOADDIR><SAVEDIR>/s</SAVEDIR>");
    qm::app::MainWindow& window = fixture.open();
    QWidget* client = window.client();
    client->findChild<QCheckBox*>("mutedCheck")->click();
    client->findChild<QCheckBox*>("manualSizeCheck")->click();
    client->findChild<QLineEdit*>("manualTiltBox")->setText(QStringLiteral("45"));
    window.loadVideo(1, QStringLiteral("/v/one.mp4"));
    window.loadVideo(2, QStringLiteral("/v/two.webm"));
    window.store().changeOptions([](qm::PlayerOptions& options) { options.loadDir = "/l"; });

    window.run(Command::DefaultOptions);
    const qm::PlayerOptions& options = window.store().options();
    QCOMPARE(window.optionsPanel().list(qm::Choice::Window)->currentText(),
             QStringLiteral("03.550x400"));
    QCOMPARE(window.optionsPanel().list(qm::Choice::Zoom)->currentText(), QStringLiteral("120"));
    QCOMPARE(window.optionsPanel().list(qm::Choice::Audio)->currentText(), QStringLiteral("50%"));
    QCOMPARE(window.optionsPanel().list(qm::Choice::Yaw)->currentText(), QStringLiteral(" auto"));
    QVERIFY(client->findChild<QCheckBox*>("controlsCheck")->isChecked());
    QVERIFY(!client->findChild<QCheckBox*>("statCheck")->isChecked());
    QVERIFY(!client->findChild<QCheckBox*>("fullScreenCheck")->isChecked());
    QVERIFY(client->findChild<QRadioButton*>("classicOption")->isChecked());
    QCOMPARE(swatchColour(window.optionsPanel().htmlBgSwatch()), QColor(Qt::black));
    QCOMPARE(swatchColour(window.optionsPanel().blackAreaSwatch()), QColor(Qt::black));
    QVERIFY(client->findChild<QLineEdit*>("htmlTitleBox")->text().isEmpty());
    for (int n = 1; n <= 3; ++n) {
        QVERIFY(window.pathLabel(n)->text().isEmpty());
        QVERIFY(window.store().videos().path(n).empty());
    }
    // Untouched: tooltips, ZOOMMAX, icons, folders and the transient settings.
    QCOMPARE(options.tooltipHelp, 0);
    QCOMPARE(options.zoomMax, 200);
    QCOMPARE(options.hsIcons[3], 205);
    QCOMPARE(options.loadDir, std::string("/l"));
    QCOMPARE(options.saveDir, std::string("/s"));
    QVERIFY(client->findChild<QCheckBox*>("mutedCheck")->isChecked());
    QVERIFY(client->findChild<QCheckBox*>("manualSizeCheck")->isChecked());
    QCOMPARE(client->findChild<QLineEdit*>("manualTiltBox")->text(), QStringLiteral("45"));

    // With the videos gone, saving the options tells the user again.
    window.run(Command::SaveOptions);
    QCOMPARE(fixture.prompter.messages.back().caption, QStringLiteral("Information:"));
}

void CommandsTest::controlsWriteTheStoreAndShowIt() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QWidget* client = window.client();
    QComboBox* tilt = window.optionsPanel().list(qm::Choice::Tilt);
    tilt->setCurrentIndex(12);
    emit tilt->activated(12);
    QCOMPARE(window.store().options().item(qm::Choice::Tilt), 13);
    client->findChild<QCheckBox*>("fullScreenCheck")->click();
    QVERIFY(window.store().options().fullScreen);
    client->findChild<QRadioButton*>("blackAreasOption")->click();
    QCOMPARE(window.store().options().viewMode, 1);
    client->findChild<QLineEdit*>("htmlTitleBox")->insert(QStringLiteral("Мой тур"));
    QCOMPARE(window.store().options().htmlTitle, std::string("Мой тур"));

    // And the other way: a change of the store shows in the controls.
    window.store().changeOptions([](qm::PlayerOptions& options) {
        options.setItem(qm::Choice::MaxFps, 4);
        options.stat = true;
        options.viewMode = 0;
        options.blackAreaColor = 0x00FF00;
    });
    QCOMPARE(window.optionsPanel().list(qm::Choice::MaxFps)->currentText(), QStringLiteral(" 20"));
    QVERIFY(client->findChild<QCheckBox*>("statCheck")->isChecked());
    QVERIFY(client->findChild<QRadioButton*>("classicOption")->isChecked());
    QCOMPARE(swatchColour(window.optionsPanel().blackAreaSwatch()), QColor(0, 255, 0));
}

void CommandsTest::loadingVideosFollowsTheFolders() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QDir(fixture.folder()).mkpath(QStringLiteral("A"));
    const QString first = fixture.folder() + QStringLiteral("/A/first.mp4");
    const QString second = fixture.folder() + QStringLiteral("/A/second.webm");
    fixture.prompter.fileAnswers = {first, second};

    window.run(Command::LoadVideo1);
    QCOMPARE(fixture.prompter.fileRequests.size(), std::size_t(1));
    const qm::app::FileDialogRequest& request = fixture.prompter.fileRequests[0];
    QVERIFY(!request.save);
    QCOMPARE(request.initialFolder, fixture.folder());
    QCOMPARE(qm::app::nameFilters(request.filters),
             QStringList({"All video files (*.mp4 *.webm *.mov *.m4v *.ogg *.qt *.ogv)",
                          "MP4 video files (*.MP4)", "MOV video files (*.MOV)",
                          "WEBM video files (*.WEBM)", "M4V video files (*.M4V)",
                          "OGG video files (*.OGG)", "QT video files (*.QT)",
                          "OGV video files (*.OGV)"}));
    QCOMPARE(window.pathLabel(1)->text(), first);
    QCOMPARE(window.store().options().loadDir,
             (fixture.folder() + QStringLiteral("/A")).toStdString());
    QCOMPARE(window.preview().player().source(), first);

    // The second load starts where the first was chosen; video 2 replaces what plays.
    window.run(Command::LoadVideo2);
    QCOMPARE(fixture.prompter.fileRequests[1].initialFolder,
             fixture.folder() + QStringLiteral("/A"));
    QCOMPARE(window.pathLabel(1)->text(), first);
    QCOMPARE(window.pathLabel(2)->text(), second);
    QVERIFY(window.pathLabel(3)->text().isEmpty());
    QCOMPARE(window.preview().player().source(), second);
    QCOMPARE(window.store().options().saveDir, fixture.folder().toStdString());
}

void CommandsTest::cancelledVideoDialogChangesNothing() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    fixture.prompter.fileAnswers = {QString(), QStringLiteral("   ")};
    window.run(Command::LoadVideo3);
    window.run(Command::LoadVideo3);
    QVERIFY(window.store().videos().path(3).empty());
    QCOMPARE(window.store().options().loadDir, fixture.folder().toStdString());
    QVERIFY(window.preview().player().source().isEmpty());
}

void CommandsTest::clearExtraVideosKeepsVideo1() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.loadVideo(1, QStringLiteral("/v/1.mp4"));
    window.loadVideo(2, QStringLiteral("/v/2.webm"));
    window.loadVideo(3, QStringLiteral("/v/3.ogv"));
    window.menuActions().clearExtraVideos->trigger();
    QCOMPARE(window.pathLabel(1)->text(), QStringLiteral("/v/1.mp4"));
    QVERIFY(window.pathLabel(2)->text().isEmpty());
    QVERIFY(window.pathLabel(3)->text().isEmpty());
    QCOMPARE(window.preview().player().source(), QStringLiteral("/v/3.ogv"));
    QCOMPARE(window.store().options().loadDir, std::string("/v"));
}

void CommandsTest::everyCommandTicks() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QWidget* client = window.client();
    int expected = 0;
    auto ticked = [&](int more) {
        expected += more;
        return fixture.ticks.count == expected;
    };
    client->findChild<QCheckBox*>("statCheck")->click();
    QVERIFY(ticked(1));
    emit window.optionsPanel().list(qm::Choice::Qual)->activated(2);
    QVERIFY(ticked(1));
    client->findChild<QRadioButton*>("blackAreasOption")->click();
    QVERIFY(ticked(1));
    window.menuActions().clearExtraVideos->trigger();
    QVERIFY(ticked(1));
    client->findChild<QAbstractButton*>("defaultOptionsButton")->click();
    QVERIFY(ticked(1));
    client->findChild<QAbstractButton*>("slotSelector4")->click();
    QVERIFY(ticked(1));
    client->findChild<QAbstractButton*>("deleteAllHsButton")->click();
    QVERIFY(ticked(1));
    // The project commands tick a second time before their dialog.
    window.menuActions().loadProject->trigger();
    QVERIFY(ticked(2));
    window.menuActions().saveProject->trigger();
    QVERIFY(ticked(2));
    // The icon buttons and the slider have handlers of their own: no tick.
    window.hotSpotPanel().row(2).icon->click();
    window.preview().slider()->setValue(40);
    QVERIFY(ticked(0));
    // Typing into a box is no command.
    QTest::keyClicks(client->findChild<QLineEdit*>("htmlTitleBox"), QStringLiteral("x"));
    QVERIFY(ticked(0));
    // The keys: F1 opens quick help, Ctrl+L the video dialog.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(ticked(1));
    QCOMPARE(fixture.prompter.modalWindows.back(), QStringLiteral("quickHelp"));
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
    QVERIFY(ticked(1));
    // Both project dialogs start in LOADDIR.
    const std::vector<qm::app::FileDialogRequest>& asked = fixture.prompter.fileRequests;
    QCOMPARE(asked.size(), std::size_t(3));
    QCOMPARE(asked[0].title, QStringLiteral("Load a Project"));
    QCOMPARE(qm::app::nameFilters(asked[0].filters), QStringList({"Project files (*.pp5)"}));
    QCOMPARE(asked[1].title, QStringLiteral("Save the Project"));
    QCOMPARE(qm::app::nameFilters(asked[1].filters), QStringList({"Project file (*.pp5)"}));
    QVERIFY(asked[1].save && !asked[0].save);
    QCOMPARE(asked[1].initialFolder, asked[0].initialFolder);
    QCOMPARE(asked[1].initialFolder, fixture.folder());
}

void CommandsTest::colourPickAndCancel() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.optionsPanel().htmlBgButton()->click();
    QCOMPARE(fixture.prompter.colourDialogs.size(), std::size_t(1));
    qm::test::PendingColour dialog = fixture.prompter.colourDialogs.back();
    QVERIFY(dialog.title.contains(QStringLiteral("Html BGColor")));
    QCOMPARE(dialog.initial, QColor(Qt::white));
    for (const QColor& custom : dialog.custom) {
        QCOMPARE(custom, QColor(Qt::black));
    }
    qm::app::CustomColours defined = dialog.custom;
    defined[0] = QColor(10, 20, 30);
    dialog.done(QColor(255, 0, 0), defined);
    QCOMPARE(window.store().options().htmlBgColor, std::uint32_t(255));
    QCOMPARE(swatchColour(window.optionsPanel().htmlBgSwatch()), QColor(255, 0, 0));

    // Cancelling keeps the colour, and the custom colours carry to the next dialog.
    window.optionsPanel().htmlBgButton()->click();
    QCOMPARE(fixture.prompter.colourDialogs.size(), std::size_t(2));
    QCOMPARE(fixture.prompter.colourDialogs.back().custom[0], QColor(10, 20, 30));
    fixture.prompter.colourDialogs.back().done(std::nullopt, defined);
    QCOMPARE(window.store().options().htmlBgColor, std::uint32_t(255));
    QCOMPARE(swatchColour(window.optionsPanel().htmlBgSwatch()), QColor(255, 0, 0));

    window.optionsPanel().blackAreaButton()->click();
    QVERIFY(fixture.prompter.colourDialogs.back().title.contains(QStringLiteral("Black Areas")));
    fixture.prompter.colourDialogs.back().done(QColor(0, 0, 255), defined);
    QCOMPARE(window.store().options().blackAreaColor, std::uint32_t(0xFF0000));
    QCOMPARE(swatchColour(window.optionsPanel().blackAreaSwatch()), QColor(0, 0, 255));
}

void CommandsTest::colourButtonIsBusyWhileItsDialogIsOpen() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.optionsPanel().htmlBgButton()->click();
    window.optionsPanel().htmlBgButton()->click();
    QCOMPARE(fixture.prompter.colourDialogs.size(), std::size_t(1));
    // The other button opens a second dialog meanwhile.
    window.optionsPanel().blackAreaButton()->click();
    QCOMPARE(fixture.prompter.colourDialogs.size(), std::size_t(2));
    fixture.prompter.colourDialogs[0].done(std::nullopt, fixture.prompter.colourDialogs[0].custom);
    window.optionsPanel().htmlBgButton()->click();
    QCOMPARE(fixture.prompter.colourDialogs.size(), std::size_t(3));
}

void CommandsTest::aboutLinksOpenThroughTheDesktop() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    fixture.prompter.onModal = [](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
        auto* support = dialog.findChild<QLabel*>("supportLink");
        auto* web = dialog.findChild<QLabel*>("webLink");
        QVERIFY(support && web);
        QCOMPARE(support->text(), QStringLiteral("email: Quillmark"));
        QCOMPARE(web->text(), QStringLiteral("https://quillmark.org"));
        QCOMPARE(support->palette().color(QPalette::WindowText), QColor(220, 210, 120));
        QCOMPARE(support->palette().color(QPalette::Window), QColor(0, 0, 127));
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(20, 50, 195));
        QCOMPARE(dialog.palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(support->cursor().shape(), Qt::BitmapCursor);
        QTest::mouseClick(support, Qt::LeftButton);
        QTest::mouseClick(web, Qt::LeftButton);
    };
    window.client()->findChild<QAbstractButton*>("aboutButton")->click();
    QCOMPARE(fixture.prompter.modalWindows, std::vector<QString>({QStringLiteral("aboutBox")}));
    QCOMPARE(fixture.openedUrls,
             std::vector<QUrl>({QUrl(QStringLiteral("mailto:support@quillmark.org")),
                                QUrl(QStringLiteral("https://quillmark.org"))}));
}

void CommandsTest::manualOpensWhenItIsThere() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.menuActions().manual->trigger();
    QVERIFY(fixture.openedUrls.empty());
    QCOMPARE(fixture.prompter.messages.size(), std::size_t(1));
    QVERIFY(fixture.prompter.messages[0].text.contains(
        QString::fromStdString(fixture.manualPath().string())));
    writeBytes(fixture.manualPath(), "%PDF-1.4\n");
    window.menuActions().manual->trigger();
    QCOMPARE(fixture.openedUrls, std::vector<QUrl>({QUrl::fromLocalFile(
                                     QString::fromStdString(fixture.manualPath().string()))}));
}

void CommandsTest::openCommandRefusesWhatItCannotOpen() {
    const QString program = QStringLiteral(QM_BINARY_DIR "/quillmark");
    if (!QFileInfo::exists(program)) {
        QSKIP("the quillmark executable is not built");
    }
    auto exitCode = [&](const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitCode();
    };
    QCOMPARE(exitCode({QStringLiteral("open"), QStringLiteral("a.pp5"), QStringLiteral("b.pp5")}),
             2);
    QCOMPARE(exitCode({QStringLiteral("open"), QStringLiteral("/no/such/tour.pp5")}), 3);
    QCOMPARE(exitCode({QStringLiteral("open"), QStringLiteral("/no/such/clip.mp4")}), 3);
}

QTEST_MAIN(CommandsTest)
#include "CommandsTest.moc"
