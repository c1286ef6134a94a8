// The main window as a person first sees it: every control at its place with
// its text and colours, the menus, the keys, and the defaults of a fresh start.

#include "app/GradientButton.h"
#include "app/GroupFrame.h"
#include "app/HotSpotPanel.h"
#include "app/OptionsPanel.h"
#include "app/OptionsStore.h"
#include "app/PathLabel.h"
#include "app/Tooltips.h"
#include "preview/PreviewArea.h"
#include "tests/app/TestSupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

using qm::test::WindowFixture;

namespace {

QColor textColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}
QColor backColour(const QWidget* widget) {
    return widget->palette().color(QPalette::Window);
}

QString textOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* path = qobject_cast<const qm::app::PathLabel*>(widget)) {
        return path->text();
    }
    if (const auto* frame = qobject_cast<const qm::app::GroupFrame*>(widget)) {
        return frame->caption();
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
        return box->text();
    }
    return {};
}

} // namespace

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void windowFrame();
    void controlsStandWhereTheyBelong_data();
    void controlsStandWhereTheyBelong();
    void controlColours_data();
    void controlColours();
    void dropDownListsHoldTheirItems();
    void dropDownListsOpenToTheirDropHeight();
    void freshStartShowsTheDefaults();
    void theSliderAndItsScale();
    void hotSpotRows();
    void menusAndKeys();
    void programCursorOverClickableControls();
    void manualBoxesTakeDigitsOnly();
};

void MainWindowLayoutTest::windowFrame() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Quillmark[*]"));
    QCOMPARE(window.client()->size(), QSize(1200, 695));
    QCOMPARE(window.client()->y(), window.menuBar()->height());
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(backColour(window.client()), QColor(135, 135, 135));
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
}

void MainWindowLayoutTest::controlsStandWhereTheyBelong_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    auto row = [](const char* name, QRect geometry, const QString& text) {
        QTest::newRow(name) << QString::fromLatin1(name) << geometry << text;
    };
    row("titleShadow", {76, 10, 1000, 65}, QStringLiteral("Quillmark"));
    row("title", {75, 9, 1000, 65}, QStringLiteral("Quillmark"));
    row("titleHighlight", {530, 9, 90, 65}, QStringLiteral("Html5"));
    row("buildLabel", {1092, 35, 70, 20}, QStringLiteral(" Build 012.00"));
    row("loadVideo1Button", {5, 52, 139, 22}, QStringLiteral("Загрузить Web видео1"));
    row("loadVideo2Button", {5, 74, 139, 22}, QStringLiteral("Загрузить Web видео2"));
    row("loadVideo3Button", {5, 96, 139, 22}, QStringLiteral("Загрузить Web видео3"));
    row("video1Path", {145, 52, 1050, 20}, QString());
    row("video2Path", {145, 74, 1050, 20}, QString());
    row("video3Path", {145, 96, 1050, 20}, QString());
    row("publishButton", {5, 120, 196, 26}, QStringLiteral("Опубликовать видео для Web"));
    row("defaultOptionsButton", {203, 120, 196, 26}, QStringLiteral("Опции по умолчанию"));
    row("saveOptionsButton", {401, 120, 196, 26}, QStringLiteral("Сохранить опции"));
    row("aboutButton", {599, 120, 196, 26}, QStringLiteral("О разработке"));
    row("exitButton", {995, 120, 198, 26}, QStringLiteral("Выход"));
    row("optionsFrame", {5, 150, 940, 519}, QStringLiteral(" Опции "));
    row("windowCaption", {12, 170, 110, 19}, QStringLiteral("  Размер окна"));
    row("windowList", {124, 169, 100, 21}, QStringLiteral(""));
    row("fullScreenCheck", {12, 190, 110, 19}, QStringLiteral(" Полный экран "));
    row("controlsCheck", {12, 210, 110, 19}, QStringLiteral(" Панель управлен."));
    row("controlBarList", {124, 209, 80, 21}, QString());
    row("zoomCaption", {12, 230, 110, 19}, QStringLiteral("  Zoom значение"));
    row("zoomList", {124, 229, 80, 21}, QString());
    row("yawCaption", {12, 250, 110, 19}, QStringLiteral("  Yaw значение "));
    row("yawList", {124, 249, 80, 21}, QString());
    row("pitchCaption", {12, 270, 110, 20}, QStringLiteral("  Pitch значение"));
    row("pitchList", {124, 269, 80, 21}, QString());
    row("tiltCaption", {12, 290, 110, 19}, QStringLiteral("  Лимит верт. угла"));
    row("tiltList", {124, 289, 80, 21}, QString());
    row("manualTiltBox", {206, 290, 20, 19}, QString());
    row("qualCaption", {12, 310, 110, 19}, QStringLiteral("  Параметр Сферы"));
    row("qualList", {124, 309, 80, 21}, QString());
    row("maxFpsCaption", {12, 330, 110, 19}, QStringLiteral("  Max FPS for stream"));
    row("maxFpsList", {124, 329, 80, 21}, QString());
    row("mouseSpeedCaption", {12, 350, 110, 19}, QStringLiteral("  Чувствит. мышки"));
    row("mouseSpeedList", {124, 349, 80, 21}, QString());
    row("statCheck", {12, 370, 110, 19}, QStringLiteral(" Статистика"));
    row("winPosXCaption", {12, 390, 110, 19}, QStringLiteral("  X-выравнять окно"));
    row("winPosXList", {124, 389, 80, 21}, QString());
    row("winPosYCaption", {12, 410, 110, 19}, QStringLiteral("  Y-выравнять окно"));
    row("winPosYList", {124, 409, 80, 21}, QString());
    row("audioCaption", {12, 430, 110, 19}, QStringLiteral("  Audio громкость "));
    row("audioList", {124, 429, 80, 21}, QString());
    row("manualSizeCheck", {12, 450, 110, 19}, QStringLiteral(" П.размер окна"));
    row("manualWidthBox", {124, 450, 29, 19}, QString());
    row("pixelsLabel", {155, 454, 92, 19}, QStringLiteral("x           pixels"));
    row("manualHeightBox", {162, 450, 29, 19}, QString());
    row("htmlBgColorCaption", {12, 470, 110, 19}, QStringLiteral("  Html BGColor"));
    row("htmlBgSwatch", {124, 470, 30, 18}, QString());
    row("htmlBgButton", {156, 470, 75, 18}, QStringLiteral("выбрать цвет"));
    row("mutedCheck", {12, 490, 110, 19}, QStringLiteral(" <muted> On/Off"));
    row("lockFullScreenCheck", {12, 510, 110, 19}, QStringLiteral(" Lock Full Screen"));
    row("viewModeFrame", {10, 556, 110, 86}, QStringLiteral("  Режим плеера:"));
    row("classicOption", {17, 577, 96, 19}, QStringLiteral("\"Classic\""));
    row("blackAreasOption", {17, 597, 96, 19}, QStringLiteral("\"Black Areas\""));
    row("blackAreaSwatch", {17, 617, 20, 18}, QString());
    row("blackAreaButton", {38, 617, 75, 18}, QStringLiteral("выбрать цвет"));
    row("htmlTitleCaption", {10, 645, 110, 19}, QStringLiteral("  Html <TITLE>"));
    row("htmlTitleBox", {124, 645, 573, 19}, QString());
    row("videoView", {250, 165, 670, 400}, QString());
    row("yawMarker", {585, 170, 2, 362}, QString());
    row("sliderScale", {250, 565, 667, 15}, qm::preview::PreviewArea::scaleText());
    row("yawSlider", {250, 579, 670, 22}, QString());
    row("linkCaption", {250, 604, 110, 19}, QStringLiteral("  Hot Spot ссылка:"));
    row("linkBox", {362, 604, 445, 19}, QString());
    row("nameCaption", {250, 624, 110, 19}, QStringLiteral("  Hot Spot имя:"));
    row("nameBox", {362, 624, 445, 19}, QString());
    row("addHsButton", {810, 604, 110, 20}, QStringLiteral("Добавить HS"));
    row("deleteHsButton", {810, 624, 110, 20}, QStringLiteral("Удалить HS"));
    row("deleteAllHsButton", {810, 644, 110, 20}, QStringLiteral("Удалить все HS"));
    row("selfCheck", {700, 644, 106, 20}, QStringLiteral("self HS режим"));
    row("hotSpotsFrame", {950, 150, 245, 490}, QStringLiteral(" Hot Spots "));
}

void MainWindowLayoutTest::controlsStandWhereTheyBelong() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    auto* widget = window.client()->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->parentWidget(), window.client());
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(textOf(widget), text);
}

void MainWindowLayoutTest::controlColours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background"); // invalid: the window shows through
    const QColor none;
    auto row = [](const char* name, QColor text, QColor background) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << background;
    };
    row("titleShadow", Qt::black, none);
    row("title", Qt::white, none);
    row("titleHighlight", QColor(0, 191, 255), none);
    row("buildLabel", QColor(0, 0, 255), none);
    row("video1Path", Qt::black, QColor(199, 199, 199));
    row("windowCaption", Qt::white, QColor(85, 85, 85));
    row("fullScreenCheck", Qt::white, QColor(85, 85, 85));
    row("windowList", Qt::black, QColor(192, 192, 192));
    row("manualTiltBox", Qt::black, QColor(192, 192, 192));
    row("pixelsLabel", Qt::black, none);
    row("classicOption", Qt::black, QColor(192, 192, 192));
    row("htmlTitleBox", Qt::black, QColor(220, 220, 220));
    row("sliderScale", Qt::white, none);
    row("yawSlider", Qt::black, QColor(88, 88, 88));
    row("yawMarker", QColor(0, 255, 0), QColor(0, 255, 0));
    row("linkCaption", QColor(0, 255, 255), QColor(88, 121, 219));
    row("linkBox", QColor(0, 0, 255), QColor(192, 192, 192));
    row("selfCheck", QColor(0, 255, 255), QColor(68, 101, 199));
    row("slotSelector1", QColor(0, 255, 255), QColor(68, 101, 199));
    row("yawCaption1", QColor(0, 255, 255), QColor(88, 121, 219));
    row("yawValue1", QColor(0, 0, 255), QColor(192, 192, 192));
    row("timeBox1", Qt::black, Qt::white);
}

void MainWindowLayoutTest::controlColours() {
    QFETCH(QString, name);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    auto* widget = window.client()->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(textColour(widget), text);
    QCOMPARE(widget->autoFillBackground(), background.isValid());
    if (background.isValid()) {
        QCOMPARE(backColour(widget), background);
    }
}

void MainWindowLayoutTest::dropDownListsHoldTheirItems() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    auto items = [&](qm::Choice choice) {
        QStringList texts;
        QComboBox* list = window.optionsPanel().list(choice);
        for (int i = 0; i < list->count(); ++i) {
            texts << list->itemText(i);
        }
        return texts;
    };
    QCOMPARE(items(qm::Choice::Window),
             QStringList({"01.320x240", "02.400x300", "03.550x400", "04.600x400", "05.640x480",
                          "06.800x400", "07.800x480", "08.800x600", "09.960x480", "10.1024x480",
                          "11.1024x640", "12.1024x768"}));
    QCOMPARE(items(qm::Choice::Zoom),
             QStringList({"40", "50", "60", "70", "80", "90", "100", "110", "120", "130"}));
    QCOMPARE(items(qm::Choice::ControlBar),
             QStringList({QStringLiteral(" auto"), QStringLiteral(" мини")}));
    QCOMPARE(items(qm::Choice::Yaw).size(), 13);
    QCOMPARE(items(qm::Choice::Yaw).at(1), QStringLiteral(" 0 град."));
    QCOMPARE(items(qm::Choice::Yaw).at(12), QStringLiteral(" 330 град."));
    QCOMPARE(items(qm::Choice::Pitch).at(1), QStringLiteral(" 30  град."));
    QCOMPARE(items(qm::Choice::Pitch).at(4), QStringLiteral(" 0"));
    QCOMPARE(items(qm::Choice::Tilt).last(), QStringLiteral(" manual"));
    QCOMPARE(items(qm::Choice::Qual),
             QStringList({" auto", " 64", " 128", " 172", " 200", " 252", " 282"}));
    QCOMPARE(items(qm::Choice::MaxFps),
             QStringList({" auto", "  7", " 15", " 20", " 24", " 30", " 50", " 60"}));
    QCOMPARE(items(qm::Choice::MouseSpeed), QStringList({" auto", " 0.020", " 0.025", " 0.030",
                                                         " 0.035", " 0.040", " 0.045", " 0.050"}));
    QCOMPARE(items(qm::Choice::WinPosX), QStringList({" auto", " left", " right", " center"}));
    QCOMPARE(items(qm::Choice::WinPosY), QStringList({" auto", " top", " bottom", " center"}));
    QCOMPARE(items(qm::Choice::Audio), QStringList({"0%", "10%", "20%", "30%", "40%", "50%", "60%",
                                                    "70%", "80%", "90%", "100%"}));
}

void MainWindowLayoutTest::dropDownListsOpenToTheirDropHeight() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Drop height (field included), and whether the items outgrow it so that the list scrolls.
    const std::tuple<qm::Choice, int, bool> cases[] = {{qm::Choice::Tilt, 90, true},
                                                       {qm::Choice::ControlBar, 90, false},
                                                       {qm::Choice::Window, 290, false}};
    for (const auto& [choice, dropHeight, scrolls] : cases) {
        QComboBox* list = window.optionsPanel().list(choice);
        const QImage closed = list->grab().toImage(); // flat: one grey from top to bottom
        for (int y = 2; y < list->height() - 2; ++y) {
            QCOMPARE(closed.pixelColor(2, y), QColor(192, 192, 192));
        }
        list->showPopup();
        const QRect popup = list->view()->window()->geometry();
        const QPoint field = list->mapToGlobal(QPoint());
        // Below the field, both within the drop height, whole rows filling it unless all show.
        QVERIFY(popup.top() >= field.y() + list->height() - 1);
        QVERIFY(popup.bottom() < field.y() + dropHeight);
        const int room = dropHeight - list->height();
        QCOMPARE(popup.height() + list->view()->sizeHintForRow(0) > room, scrolls);
        QCOMPARE(list->view()->verticalScrollBar()->isVisible(), scrolls);
        list->hidePopup();
    }
    // The wheel turns a list only while it has the focus.
    QComboBox* zoom = window.optionsPanel().list(qm::Choice::Zoom);
    QWheelEvent wheel(QPointF(9, 9), zoom->mapToGlobal(QPointF(9, 9)), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(zoom, &wheel);
    QCOMPARE(window.store().options().item(qm::Choice::Zoom), 9);
    zoom->setFocus();
    QApplication::sendEvent(zoom, &wheel);
    QCOMPARE(window.store().options().item(qm::Choice::Zoom), 10);
}

void MainWindowLayoutTest::freshStartShowsTheDefaults() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QWidget* client = window.client();
    auto current = [&](qm::Choice choice) {
        return window.optionsPanel().list(choice)->currentText();
    };
    QCOMPARE(current(qm::Choice::Window), QStringLiteral("03.550x400"));
    QCOMPARE(current(qm::Choice::Zoom), QStringLiteral("120"));
    QCOMPARE(current(qm::Choice::Audio), QStringLiteral("50%"));
    for (const qm::Choice choice :
         {qm::Choice::ControlBar, qm::Choice::Yaw, qm::Choice::Pitch, qm::Choice::Tilt,
          qm::Choice::Qual, qm::Choice::MaxFps, qm::Choice::MouseSpeed, qm::Choice::WinPosX,
          qm::Choice::WinPosY}) {
        QCOMPARE(current(choice), QStringLiteral(" auto"));
    }
    QVERIFY(client->findChild<QCheckBox*>("controlsCheck")->isChecked());
    for (const char* name :
         {"fullScreenCheck", "statCheck", "manualSizeCheck", "mutedCheck", "lockFullScreenCheck"}) {
        QVERIFY2(!client->findChild<QCheckBox*>(name)->isChecked(), name);
    }
    QVERIFY(client->findChild<QRadioButton*>("classicOption")->isChecked());
    QVERIFY(!client->findChild<QRadioButton*>("blackAreasOption")->isChecked());
    QCOMPARE(backColour(window.optionsPanel().htmlBgSwatch()), QColor(Qt::black));
    QCOMPARE(backColour(window.optionsPanel().blackAreaSwatch()), QColor(Qt::black));
    for (const char* name : {"htmlTitleBox", "manualTiltBox", "manualWidthBox", "manualHeightBox",
                             "linkBox", "nameBox"}) {
        QVERIFY2(client->findChild<QLineEdit*>(name)->text().isEmpty(), name);
    }
    QVERIFY(client->findChild<QCheckBox*>("selfCheck")->isChecked());
    QVERIFY(window.menuActions().toggleTooltips->isChecked());
    QVERIFY(window.tooltips().isActive());
    const qm::PlayerOptions& options = window.store().options();
    QCOMPARE(options.loadDir, fixture.folder().toStdString());
    QCOMPARE(options.saveDir, fixture.folder().toStdString());
    QCOMPARE(options.zoomMax, 130);
}

void MainWindowLayoutTest::theSliderAndItsScale() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QSlider* slider = window.preview().slider();
    QCOMPARE(slider->minimum(), -179);
    QCOMPARE(slider->maximum(), 180);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(slider->tickInterval(), 30);
    QCOMPARE(slider->pageStep(), 1);
    QVERIFY(slider->tickPosition() != QSlider::NoTicks);
    const QString expected = QStringLiteral("-179") + QString(47, u' ') + QStringLiteral("-90") +
                             QString(48, u' ') + QStringLiteral("  0") + QString(48, u' ') +
                             QStringLiteral("+90") + QString(48, u' ') + QStringLiteral("+179");
    QCOMPARE(qm::preview::PreviewArea::scaleText(), expected);
    QCOMPARE(window.preview().scale()->font().family(), QStringLiteral("Times New Roman"));
}

void MainWindowLayoutTest::hotSpotRows() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QWidget* client = window.client();
    for (int r = 1; r <= 10; ++r) {
        const int y = 171 + 47 * (r - 1);
        const QString n = QString::number(r);
        auto at = [&](const QString& name) {
            QWidget* widget = client->findChild<QWidget*>(name + n);
            return widget ? widget->geometry() : QRect();
        };
        QCOMPARE(at("iconButton"), QRect(963, y, 45, 39));
        QCOMPARE(at("slotSelector"), QRect(1014, y, 83, 17));
        QCOMPARE(at("yawCaption"), QRect(1104, y, 40, 17));
        QCOMPARE(at("yawValue"), QRect(1147, y, 40, 17));
        QCOMPARE(at("posCaption"), QRect(1014, y + 19, 20, 17));
        QCOMPARE(at("posValue"), QRect(1037, y + 19, 60, 17));
        QCOMPARE(at("timeCaption"), QRect(1104, y + 19, 40, 17));
        QCOMPARE(at("timeBox"), QRect(1147, y + 19, 40, 17));
        const qm::app::HotSpotRow& row = window.hotSpotPanel().row(r);
        QCOMPARE(row.selector->text(), QStringLiteral("Hot Spot %1").arg(r, 2, 10, QChar(u'0')));
        QCOMPARE(row.selector->isChecked(), r == 1);
        QCOMPARE(row.timeBox->text(), QStringLiteral("5.0"));
        QVERIFY(row.yawValue->text().isEmpty());
        QVERIFY(!row.icon->icon().isNull());
    }
    QCOMPARE(client->findChild<QLabel*>("yawCaption1")->text(), QStringLiteral("Yaw:"));
    QCOMPARE(client->findChild<QLabel*>("posCaption1")->text(), QStringLiteral("Pos:"));
    QCOMPARE(client->findChild<QLabel*>("timeCaption1")->text(), QStringLiteral("Time:"));
}

void MainWindowLayoutTest::menusAndKeys() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("&File "));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Опции"));
    QCOMPARE(menus[2]->text(), QStringLiteral("&Помощь"));
    auto entries = [](QAction* menuAction) {
        QStringList texts;
        for (QAction* item : menuAction->menu()->actions()) {
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        return texts;
    };
    QCOMPARE(entries(menus[0]),
             QStringList({QStringLiteral("& Загрузить Web видео\tCtrl+L"), "-",
                          QStringLiteral("Опубликовать видео для Web\tCtrl+P"), "-",
                          QStringLiteral("Загрузить проект"), QStringLiteral("Сохранить проект"),
                          "-", QStringLiteral("&Выход из IDE\tAlt+F4")}));
    QCOMPARE(entries(menus[1]),
             QStringList({QStringLiteral("Опции по умолчанию"), QStringLiteral("Сохранить опции"),
                          "-", QStringLiteral("Удалить пути добавленых видео"), "-",
                          QStringLiteral("Показать/скрыть всплывающую помощь")}));
    QCOMPARE(entries(menus[2]), QStringList({QStringLiteral("&Краткая помощь\tF1"),
                                             QStringLiteral("&Руководство пользователя\tCtrl+F1"),
                                             "-", QStringLiteral("О разработке")}));
    QVERIFY(window.menuActions().toggleTooltips->isCheckable());

    QList<QKeySequence> keys;
    for (const QShortcut* shortcut : window.findChildren<QShortcut*>()) {
        keys << shortcut->key();
    }
    std::sort(keys.begin(), keys.end());
    QList<QKeySequence> expected = {QKeySequence(Qt::Key_F1), QKeySequence(Qt::CTRL | Qt::Key_L),
                                    QKeySequence(Qt::CTRL | Qt::Key_P),
                                    QKeySequence(Qt::CTRL | Qt::Key_F1)};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(keys, expected);
    // The menu items carry their key only as a hint, so no key is bound twice.
    for (QAction* menu : menus) {
        for (QAction* item : menu->menu()->actions()) {
            QVERIFY(item->shortcut().isEmpty());
        }
    }
}

void MainWindowLayoutTest::programCursorOverClickableControls() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    const QCursor& cursor = window.appCursor();
    QVERIFY(cursor.shape() == Qt::BitmapCursor);
    int owned = 0;
    for (const qm::app::GradientButton* button :
         window.client()->findChildren<qm::app::GradientButton*>()) {
        QCOMPARE(button->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(button->cursor().pixmap().toImage(), cursor.pixmap().toImage());
        ++owned;
    }
    QCOMPARE(owned, 11);
    for (int r = 1; r <= 10; ++r) {
        QCOMPARE(window.hotSpotPanel().row(r).icon->cursor().shape(), Qt::BitmapCursor);
    }
    QCOMPARE(window.preview().slider()->cursor().shape(), Qt::BitmapCursor);
    QVERIFY(window.client()->findChild<QWidget*>("windowCaption")->cursor().shape() !=
            Qt::BitmapCursor);
}

void MainWindowLayoutTest::manualBoxesTakeDigitsOnly() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    for (const char* name : {"manualTiltBox", "manualWidthBox", "manualHeightBox"}) {
        auto* box = window.client()->findChild<QLineEdit*>(name);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("6a-4.x5"));
        QCOMPARE(box->text(), QStringLiteral("645"));
    }
    QCOMPARE(window.store().options().transient.manualTilt, std::string("645"));
    QCOMPARE(window.store().options().transient.manualWidth, std::string("645"));
    QCOMPARE(window.store().options().transient.manualHeight, std::string("645"));
}

QTEST_MAIN(MainWindowLayoutTest)
#include "MainWindowLayoutTest.moc"
