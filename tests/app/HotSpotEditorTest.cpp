// A whole tour made in the window with its own controls: hot spots placed at
// two moments and angles, icons chosen, the project saved, the tool left and
// started again, the project loaded, one hot spot changed and the tour
// published; then the editor's refusals, deletes and the unsaved-work question.

#include "app/HotSpotEditor.h"
#include "app/GradientButton.h"
#include "app/HotSpotPanel.h"
#include "app/IconChooser.h"
#include "app/OptionsStore.h"
#include "app/PathLabel.h"
#include "model/TextForms.h"
#include "preview/PlayerControl.h"
#include "preview/PreviewArea.h"
#include "preview/TransportBar.h"
#include "tests/app/TestSupport.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

using qm::app::SaveChoice;
using qm::test::WindowFixture;

namespace {

QAbstractButton* button(qm::app::MainWindow& window, const char* name) {
    return window.client()->findChild<QAbstractButton*>(QLatin1String(name));
}

// Types into a box as a person does: select what is there, then the keys.
void retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Plays the preview from where it is until it passes `seconds`, then pauses
// with the transport's button.
void playUntil(qm::app::MainWindow& window, double seconds) {
    qm::preview::PlayerControl& player = window.preview().player();
    QToolButton* play = window.preview().transport()->playButton();
    if (!player.isPlaying()) {
        play->click();
    }
    QTRY_VERIFY_WITH_TIMEOUT(player.position() > seconds, 20000);
    play->click();
    QTRY_VERIFY(!player.isPlaying());
}

void placeHotSpot(qm::app::MainWindow& window, int slot, double seconds, int yaw,
                  const QString& link, const QString& name, const QString& time) {
    const qm::app::HotSpotPanel& panel = window.hotSpotPanel();
    panel.row(slot).selector->click();
    playUntil(window, seconds);
    QSlider* slider = window.preview().slider();
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Home); // -179
    for (int step = -179; step < yaw; ++step) {
        QTest::keyClick(slider, Qt::Key_Right);
    }
    retype(panel.linkBox(), link);
    retype(panel.nameBox(), name);
    retype(panel.row(slot).timeBox, time);
    panel.addButton()->click();
}

QImage shownIcon(const QToolButton* button) {
    return button->icon().pixmap(button->iconSize()).toImage();
}

// The hot spot arrays of a published, scrambled configuration script, as the
// player page's scripts see them after running it.
QJsonObject publishedHotSpots(const QString& script) {
    const QString program = QStringLiteral(R"(
const fs = require('fs'), vm = require('vm');
const c = { window: { innerWidth: 1280, innerHeight: 720 }, HotSpotItem_pos: [],
  HotSpotItem_time: [], HotSpotItem_yaw: [], HotSpotItem_title: [], HotSpotItem_link: [],
  HotSpotItem_self: [] };
vm.createContext(c);
vm.runInContext(fs.readFileSync(process.argv[1], 'latin1'), c);
console.log(JSON.stringify({ count: c.OS_HOTSPOTS, pos: c.HotSpotItem_pos,
  time: c.HotSpotItem_time, yaw: c.HotSpotItem_yaw, title: c.HotSpotItem_title,
  link: c.HotSpotItem_link }));
)");
    QProcess node;
    node.start(QStringLiteral("node"), {QStringLiteral("-e"), program, script});
    if (!node.waitForFinished(30000) || node.exitCode() != 0) {
        return {};
    }
    return QJsonDocument::fromJson(node.readAllStandardOutput()).object();
}

} // namespace

class HotSpotEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void authorsAWholeTour();
    void refusalsLeaveEverythingAsItWas();
    void deletesKeepIconsAndSlotOneComesBack();
    void iconChooserGridAndClosingWithoutPick();
    void timeBoxTakesDigitsFromTheKeyboardOnly();
    void unsavedHotSpotsAreOfferedForSaving();
    void publishThatStopsWritesNothing();
    void leavingClosesOpenColourDialogs();

  private:
    QTemporaryDir clipDir_;
    QString clip_;
};

void HotSpotEditorTest::initTestCase() {
    clip_ = qm::test::makeClip(clipDir_.path(), QStringLiteral("hall.mp4"), 8);
    QVERIFY2(!clip_.isEmpty(), "ffmpeg could not make the test clip");
}

void HotSpotEditorTest::authorsAWholeTour() {
    WindowFixture fixture;
    qm::app::MainWindow* window = &fixture.open();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const qm::app::HotSpotPanel* panel = &window->hotSpotPanel();

    fixture.prompter.fileAnswers = {clip_};
    button(*window, "loadVideo1Button")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window->preview().player().duration() > 7.0, 20000);

    placeHotSpot(*window, 1, 1.0, 90, QStringLiteral("https://example.org/door"),
                 QStringLiteral("Door"), QStringLiteral("7"));
    const double firstPos = window->store().project().hotSpots.record(1).pos;
    QVERIFY(firstPos > 1.0);
    QCOMPARE(panel->row(1).yawValue->text(), QStringLiteral("90"));
    QCOMPARE(panel->row(1).posValue->text(),
             QString::fromStdString(qm::maskText(firstPos, "######.0")));
    QCOMPARE(panel->row(1).timeBox->text(), QStringLiteral("7"));

    fixture.prompter.onModal = [](QDialog& dialog) {
        auto* chooser = qobject_cast<qm::app::IconChooser*>(&dialog);
        QVERIFY(chooser);
        chooser->iconButton(10)->click();
    };
    panel->row(1).icon->click();
    QCOMPARE(window->store().options().hsIcons[0], 210);
    QCOMPARE(shownIcon(panel->row(1).icon), qm::app::HotSpotPanel::iconPicture(10).toImage());

    placeHotSpot(*window, 2, 3.0, -45, QStringLiteral("https://example.org/stairs"),
                 QStringLiteral("Stairs"), QStringLiteral("4"));
    const double secondPos = window->store().project().hotSpots.record(2).pos;
    QVERIFY(secondPos > 3.0);
    // Picking a slot shows it: the slider and the boxes follow the record.
    panel->row(1).selector->click();
    QCOMPARE(window->preview().slider()->value(), 90);
    QCOMPARE(panel->linkBox()->text(), QStringLiteral("https://example.org/door"));
    QVERIFY(!panel->row(2).selector->isChecked());
    QTRY_COMPARE(window->preview().player().position(), firstPos);

    const QString project = fixture.folder() + QStringLiteral("/tour");
    fixture.prompter.fileAnswers = {project};
    window->menuActions().saveProject->trigger();
    QVERIFY(QFileInfo::exists(project + QStringLiteral(".pp5")));

    // Leave (the usual question: nothing is unsaved) and start again.
    window->close();
    QVERIFY(!window->isVisible());
    QCOMPARE(fixture.prompter.questions.back(), QStringLiteral("Выход из IDE|Вы уверены?"));
    window = &fixture.open();
    panel = &window->hotSpotPanel();
    window->show();
    QCOMPARE(shownIcon(panel->row(1).icon), qm::app::HotSpotPanel::iconPicture(10).toImage());
    QVERIFY(panel->row(1).yawValue->text().isEmpty());

    fixture.prompter.fileAnswers = {project + QStringLiteral(".pp5")};
    window->menuActions().loadProject->trigger();
    QCOMPARE(panel->row(1).yawValue->text(), QStringLiteral("90"));
    QCOMPARE(panel->row(1).timeBox->text(), QStringLiteral("7.0"));
    QCOMPARE(panel->row(2).yawValue->text(), QStringLiteral("-45"));
    QCOMPARE(panel->row(2).posValue->text(),
             QString::fromStdString(qm::maskText(secondPos, "######.0")));
    QCOMPARE(panel->row(2).timeBox->text(), QStringLiteral("4.0"));
    QCOMPARE(panel->row(3).timeBox->text(), QStringLiteral("5.0"));
    QCOMPARE(window->pathLabel(1)->text(), clip_);
    // No slot is current until one is chosen: Add does nothing.
    QCOMPARE(window->hotSpotEditor().currentSlot(), 0);
    QCOMPARE(window->preview().slider()->value(), 0);
    for (int slot = 1; slot <= qm::app::HotSpotPanel::kRows; ++slot) {
        QVERIFY(!panel->row(slot).selector->isChecked());
    }
    const qm::Project loaded = window->store().project();
    panel->addButton()->click();
    QCOMPARE(window->store().project(), loaded);
    QTRY_VERIFY_WITH_TIMEOUT(window->preview().player().duration() > 7.0, 20000);

    // Change the second hot spot's link and angle, at the moment it already has.
    panel->row(2).selector->click();
    QTRY_COMPARE(window->preview().player().position(), secondPos);
    QTest::keyClick(window->preview().slider(), Qt::Key_Left);
    retype(panel->linkBox(), QStringLiteral("https://example.org/upstairs"));
    panel->addButton()->click();
    const qm::HotSpotItem changed = window->store().project().hotSpots.record(2);
    QCOMPARE(changed.yaw, -46);
    QVERIFY(qAbs(changed.pos - secondPos) < 0.15);

    const QString site = fixture.folder() + QStringLiteral("/site/index");
    QDir().mkpath(fixture.folder() + QStringLiteral("/site"));
    fixture.prompter.fileAnswers = {site};
    button(*window, "publishButton")->click();
    QCOMPARE(fixture.prompter.messages.back().text, QStringLiteral("Publishing succeeded"));
    QVERIFY(!window->preview().player().isPlaying());
    const QJsonObject published =
        publishedHotSpots(fixture.folder() + QStringLiteral("/site/js/ctr/cn0.js"));
    QCOMPARE(published[QStringLiteral("count")].toInt(), 2);
    // The page carries the angle turned by half a circle, and the moments as placed.
    QCOMPARE(published[QStringLiteral("yaw")].toArray()[0].toInt(), -90);
    QCOMPARE(published[QStringLiteral("yaw")].toArray()[1].toInt(), 134);
    QCOMPARE(published[QStringLiteral("pos")].toArray()[0].toDouble(), firstPos);
    QCOMPARE(published[QStringLiteral("pos")].toArray()[1].toDouble(), changed.pos);
    QCOMPARE(published[QStringLiteral("link")].toArray()[1].toString(),
             QStringLiteral("https://example.org/upstairs"));
    QCOMPARE(published[QStringLiteral("title")].toArray()[0].toString(), QStringLiteral("Door"));
    QVERIFY(QFileInfo::exists(fixture.folder() + QStringLiteral("/site/hall.mp4")));
    // Publishing turned the unchosen icons into icon 0 and moved the save folder.
    QCOMPARE(window->store().options().hsIcons[1], 200);
    QCOMPARE(window->store().options().saveDir,
             (fixture.folder() + QStringLiteral("/site")).toStdString());
}

void HotSpotEditorTest::refusalsLeaveEverythingAsItWas() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    const qm::app::HotSpotPanel& panel = window.hotSpotPanel();
    const QString warning = QStringLiteral("Warning");

    // No video: the position reads 0.
    retype(panel.linkBox(), QStringLiteral("https://example.org"));
    panel.addButton()->click();
    QCOMPARE(fixture.prompter.messages.back().caption, warning);
    QCOMPARE(fixture.prompter.messages.back().text,
             QStringLiteral("Current Hot Spot position in movie stream cannot be - \"0\""));

    fixture.prompter.fileAnswers = {clip_};
    button(window, "loadVideo1Button")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window.preview().player().position() > 0.5, 20000);
    const qm::Project before = window.store().project();

    // An empty link is refused before the player is touched: it plays on.
    retype(panel.linkBox(), QStringLiteral("   "));
    panel.addButton()->click();
    QCOMPARE(fixture.prompter.messages.back().text,
             QStringLiteral("The link of Hot Spot is empty"));
    QVERIFY(window.preview().player().isPlaying());

    retype(panel.linkBox(), QStringLiteral("https://example.org"));
    retype(panel.row(1).timeBox, QString());
    panel.addButton()->click();
    QCOMPARE(fixture.prompter.messages.back().text,
             QStringLiteral("The time for shown a Hot Spot is not determined"));
    QTRY_VERIFY(!window.preview().player().isPlaying());
    QCOMPARE(window.store().project(), before);
    QVERIFY(panel.row(1).yawValue->text().isEmpty());
    QVERIFY(panel.row(1).posValue->text().isEmpty());
    QVERIFY(!window.store().hotSpotsUnsaved());
    // A name longer than its field is stored cut, never silently.
    retype(panel.nameBox(), QString(45, QLatin1Char('n')));
    retype(panel.row(1).timeBox, QStringLiteral("5"));
    panel.addButton()->click();
    QCOMPARE(fixture.prompter.messages.back().text,
             QStringLiteral("Имя длиннее 40 знаков, сохранено: \"%1\"").arg(QString(40, 'n')));
    QCOMPARE(window.store().project().hotSpots.record(1).title, std::string(40, 'n'));
}

void HotSpotEditorTest::deletesKeepIconsAndSlotOneComesBack() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    const qm::app::HotSpotPanel& panel = window.hotSpotPanel();
    fixture.prompter.fileAnswers = {clip_};
    button(window, "loadVideo1Button")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window.preview().player().duration() > 7.0, 20000);
    placeHotSpot(window, 4, 0.5, 30, QStringLiteral("a"), QString(), QStringLiteral("5"));
    placeHotSpot(window, 6, 1.0, -30, QStringLiteral("b"), QString(), QStringLiteral("5"));
    fixture.prompter.onModal = [](QDialog& dialog) {
        qobject_cast<qm::app::IconChooser*>(&dialog)->iconButton(34)->click();
    };
    panel.row(4).icon->click();
    QCOMPARE(window.store().options().hsIcons[3], 234);

    panel.row(4).selector->click();
    panel.deleteButton()->click();
    QVERIFY(!window.store().project().hotSpots.inUse(4));
    QVERIFY(window.store().project().hotSpots.inUse(6));
    QCOMPARE(window.hotSpotEditor().currentSlot(), 4);
    QCOMPARE(window.store().options().hsIcons[3], 234);
    QVERIFY(panel.row(4).yawValue->text().isEmpty());
    QCOMPARE(panel.row(4).timeBox->text(), QStringLiteral("5.0"));
    QCOMPARE(window.preview().marker()->x(), 585);
    QVERIFY(panel.linkBox()->text().isEmpty());

    panel.row(6).selector->click();
    fixture.prompter.saveAnswers = {SaveChoice::Discard};
    panel.deleteAllButton()->click();
    QCOMPARE(window.store().project().hotSpots.countInUse(), 0);
    QCOMPARE(window.hotSpotEditor().currentSlot(), 1);
    QVERIFY(panel.row(1).selector->isChecked());
    QVERIFY(!panel.row(6).selector->isChecked());
    QCOMPARE(window.store().options().hsIcons[3], 234);
}

void HotSpotEditorTest::iconChooserGridAndClosingWithoutPick() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    const qm::app::HotSpotPanel& panel = window.hotSpotPanel();
    int opened = 0;
    fixture.prompter.onModal = [&](QDialog& dialog) {
        ++opened;
        auto* chooser = qobject_cast<qm::app::IconChooser*>(&dialog);
        QVERIFY(chooser);
        QCOMPARE(chooser->size(), QSize(320, 215));
        QCOMPARE(chooser->windowTitle(),
                 QStringLiteral("Выбрать иконку для точки перехода Hot Spot"));
        QCOMPARE(chooser->iconButton(10)->geometry(), QRect(140, 45, 40, 37));
        QCOMPARE(chooser->iconButton(34)->geometry(), QRect(275, 165, 40, 37));
        QCOMPARE(chooser->iconButton(20)->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(chooser->iconButton(21)->cursor().shape(), Qt::ArrowCursor);
        // A click on the row's button meanwhile opens no second chooser.
        panel.row(7).icon->click();
        chooser->reject();
    };
    panel.row(7).icon->click();
    QCOMPARE(opened, 1);
    QCOMPARE(window.store().options().hsIcons[6], 0);
    QCOMPARE(shownIcon(panel.row(7).icon), qm::app::HotSpotPanel::iconPicture(0).toImage());
}

void HotSpotEditorTest::timeBoxTakesDigitsFromTheKeyboardOnly() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QLineEdit* box = window.hotSpotPanel().row(3).timeBox;
    QCOMPARE(box->text(), QStringLiteral("5.0"));
    retype(box, QStringLiteral("-1.5x2"));
    QCOMPARE(box->text(), QStringLiteral("152"));
    box->clear();
    box->insert(QStringLiteral("2.5")); // as a paste arrives
    QCOMPARE(box->text(), QStringLiteral("2.5"));
}

void HotSpotEditorTest::unsavedHotSpotsAreOfferedForSaving() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    fixture.prompter.fileAnswers = {clip_};
    button(window, "loadVideo1Button")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window.preview().player().duration() > 7.0, 20000);
    placeHotSpot(window, 1, 0.5, 0, QStringLiteral("a"), QString(), QStringLiteral("5"));
    QVERIFY(window.store().hotSpotsUnsaved());
    QVERIFY(window.isWindowModified());

    // Cancel keeps the window; Save with a cancelled dialog keeps it too.
    fixture.prompter.saveAnswers = {SaveChoice::Cancel, SaveChoice::Save};
    window.close();
    QVERIFY(window.isVisible());
    window.close();
    QVERIFY(window.isVisible());
    QVERIFY(fixture.prompter.questions.back().startsWith(QStringLiteral("Hot Spots|")));

    // Loading another project: Save writes the current one first.
    const QString saved = fixture.folder() + QStringLiteral("/first.pp5");
    fixture.prompter.saveAnswers = {SaveChoice::Save};
    fixture.prompter.fileAnswers = {saved, QString()};
    window.menuActions().loadProject->trigger();
    QVERIFY(QFileInfo::exists(saved));
    QVERIFY(!window.store().hotSpotsUnsaved());
    QVERIFY(!window.isWindowModified());
    window.close();
    QVERIFY(!window.isVisible());
}

void HotSpotEditorTest::publishThatStopsWritesNothing() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    const QString site = fixture.folder() + QStringLiteral("/site");
    QDir().mkpath(site);
    fixture.prompter.fileAnswers = {site + QStringLiteral("/index.html")};
    window.menuActions().publish->trigger();
    QCOMPARE(fixture.prompter.messages.back().caption, QStringLiteral("Предупреждение !"));
    QCOMPARE(fixture.prompter.messages.back().text,
             QStringLiteral("Видео файл не выбран !\nПервый видео файл должен быть выбран !"));
    QVERIFY(fixture.prompter.fileRequests.empty());

    // A cancelled dialog stops the preview and writes nothing.
    fixture.prompter.fileAnswers = {clip_, QString()};
    button(window, "loadVideo1Button")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window.preview().player().isPlaying(), 20000);
    window.menuActions().publish->trigger();
    QCOMPARE(fixture.prompter.fileRequests.back().title, QStringLiteral("Publish Html5 web page"));
    QVERIFY(!window.preview().player().isPlaying());
    QCOMPARE(QDir(site).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void HotSpotEditorTest::leavingClosesOpenColourDialogs() {
    qm::app::QtPrompter prompter;
    prompter.pickColour(QStringLiteral("Html BGColor"), Qt::white, {}, [](auto, const auto&) {});
    auto openDialogs = [] {
        int open = 0;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            open += qobject_cast<QColorDialog*>(top) && top->isVisible() ? 1 : 0;
        }
        return open;
    };
    QCOMPARE(openDialogs(), 1);
    prompter.closeColourDialogs();
    QCOMPARE(openDialogs(), 0);
}

QTEST_MAIN(HotSpotEditorTest)
#include "HotSpotEditorTest.moc"
