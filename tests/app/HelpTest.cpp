// The help of the window: the tooltip texts on their controls, their look and
// width, the switch, and the quick help window with its texts.

#include "app/QuickHelp.h"
#include "app/TooltipTexts.h"
#include "app/Tooltips.h"
#include "tests/app/TestSupport.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using qm::test::WindowFixture;

class HelpTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsCarryTheirTexts_data();
    void controlsCarryTheirTexts();
    void tipShowsLinesWithinThreeHundredPixels();
    void everyTipShowsAllItsLines();
    void switchedOffShowsNothing();
    void tipAppearsAfterTheDelay();
    void quickHelpWindow();
    void quickHelpCloseTicks();
};

void HelpTest::controlsCarryTheirTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    auto row = [](const char* name, const QString& text) {
        QTest::newRow(name) << QString::fromLatin1(name) << text;
    };
    row("windowList", QStringLiteral("Выбрать размер окна Html5 плеера"));
    row("windowCaption", QStringLiteral("Выбрать размер окна Html5 плеера"));
    row("controlsCheck", QStringLiteral("Панель управления плеера показать/спрятать:\rкнопки, "
                                        "панели, прочее.,\rв окне плеера."));
    row("zoomList", QStringLiteral("Выбрать значение Zoom:\rУправление приближением - значения "
                                   "от 40, до MAX.\rпо умолчанию значение - 70."));
    row("audioCaption", QStringLiteral(" Выбрать Audio значение громкости:\rAudio громкость: от 0 "
                                       "~ 100%\r По умолчанию: 50%"));
    row("qualList", QStringLiteral("Выбрать качество формирования сегментов сферы "));
    row("maxFpsCaption", QStringLiteral("Выбрать скорость рендеринга "));
    row("htmlBgButton", QStringLiteral("Выбрать фоновый цвет\rдля Html web страницы."));
    row("htmlBgSwatch", QStringLiteral("Выбрать фоновый цвет\rдля Html web страницы."));
    row("htmlTitleCaption",
        QStringLiteral("Добавить титульный текст <TITLE> text\r для Html web страницы."));
    row("blackAreasOption",
        QStringLiteral("Выбрать \"Black Areas\" режим для просмотра любого формата видео, в т.ч. "
                       "цилиндрического формата с черными зонами сверху и снизу сферы."));
    row("blackAreaSwatch", QStringLiteral("Выбрать цвет для верхней и нижней зоны видео "
                                          "цилиндрического формата - \"Black Areas\""));
    row("winPosYList", QStringLiteral(" Выбрать вертикальное выравнивание окна плеера на html "
                                      "странице:\r'top','bottom','center'"));
    row("manualHeightBox",
        QStringLiteral("Выбрать a собственный размер окна для html5 видео плеера. "));
    row("manualTiltBox", QStringLiteral("Установить вручную значение вертикального угла позиции "
                                        "просмотра просмотра - \r 30 ~ 90 градусов"));
    row("lockFullScreenCheck", QStringLiteral("Блокировать Полноэкранный режим Вкл./Выкл."));
    row("buildLabel", QString());
    row("linkBox", QString());
}

void HelpTest::controlsCarryTheirTexts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    QWidget* control = window.client()->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(window.tooltips().textFor(control), text);
}

void HelpTest::tipShowsLinesWithinThreeHundredPixels() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    qm::app::Tooltips& tips = window.tooltips();
    QWidget* tilt = window.client()->findChild<QWidget*>("tiltCaption");
    tips.showTipFor(tilt);
    QVERIFY(tips.popup()->isVisible());
    QCOMPARE(tips.popup()->findChild<QLabel*>("tooltipTitle")->text(),
             QStringLiteral("Information:"));
    QCOMPARE(tips.popupText()->text().count(u'\n'), 4);
    QVERIFY(!tips.popupText()->text().contains(u'\r'));
    QVERIFY(tips.popup()->width() <= qm::app::Tooltips::kMaxWidth);
    // The first line is longer than the tip is wide, so it wraps onto more rows.
    QVERIFY(tips.popupText()->height() > 5 * tips.popupText()->fontMetrics().height());
    QCOMPARE(tips.popup()->palette().color(QPalette::Window), QColor(25, 29, 98));
    QCOMPARE(tips.popup()->palette().color(QPalette::WindowText), QColor(255, 255, 0));

    // A short text makes a narrow tip.
    tips.showTipFor(window.client()->findChild<QWidget*>("fullScreenCheck"));
    QVERIFY(tips.popup()->width() < qm::app::Tooltips::kMaxWidth);
    QCOMPARE(tips.popupText()->text(), QStringLiteral("Выбрать режим полный экран (On/Off)"));
}

void HelpTest::everyTipShowsAllItsLines() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    QLabel* body = window.tooltips().popupText();
    for (const qm::app::TooltipEntry& entry : qm::app::tooltipEntries()) {
        window.tooltips().showTipFor(window.client()->findChild<QWidget*>(entry.controls.first()));
        // Wrapped as painted at the width it has, the text needs no more than its height.
        const QRect room = body->contentsRect();
        const QRect needed = body->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000),
                                                              Qt::TextWordWrap, body->text());
        QVERIFY2(needed.height() <= room.height(), qPrintable(body->text()));
        QCOMPARE(body->text().count(u'\n'), entry.text.count(u'\r'));
        QVERIFY(window.tooltips().popup()->rect().contains(body->geometry()));
    }
    // A text narrower than the widest tip stays on one line.
    window.tooltips().showTipFor(window.client()->findChild<QWidget*>("windowCaption"));
    QVERIFY(body->height() < 2 * body->fontMetrics().height());
}

void HelpTest::switchedOffShowsNothing() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    qm::app::Tooltips& tips = window.tooltips();
    QWidget* control = window.client()->findChild<QWidget*>("statCheck");
    window.menuActions().toggleTooltips->trigger();
    QVERIFY(!window.menuActions().toggleTooltips->isChecked());
    tips.showTipFor(control);
    QVERIFY(!tips.popup()->isVisible());
    window.menuActions().toggleTooltips->trigger();
    tips.showTipFor(control);
    QVERIFY(tips.popup()->isVisible());
    // Switching off hides a tip on show.
    window.menuActions().toggleTooltips->trigger();
    QVERIFY(!tips.popup()->isVisible());
}

void HelpTest::tipAppearsAfterTheDelay() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* control = window.client()->findChild<QWidget*>("mouseSpeedList");
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), control->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(control, &enter);
    QVERIFY(!window.tooltips().popup()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(window.tooltips().popup()->isVisible(), 3000);
    QCOMPARE(window.tooltips().popupText()->text(),
             QStringLiteral("Выбрать скорость управления мышкой"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(control, &leave);
    QVERIFY(!window.tooltips().popup()->isVisible());
}

void HelpTest::quickHelpWindow() {
    qm::test::CountingTicks ticks;
    QWidget owner;
    qm::app::QuickHelp help(&owner, ticks);
    QCOMPARE(help.windowTitle(), QStringLiteral("Помощь"));
    QCOMPARE(help.size(), QSize(800, 528));
    QCOMPARE(help.palette().color(QPalette::Window), QColor(210, 180, 140));
    auto* heading = help.findChild<QLabel*>("helpHeading");
    QCOMPARE(heading->text(), QStringLiteral("  Краткая инструкция:"));
    QCOMPARE(heading->geometry(), QRect(0, 0, 800, 38));
    QCOMPARE(heading->font().family(), QStringLiteral("Times New Roman"));
    QVERIFY(heading->font().bold() && heading->font().italic());
    auto* steps = help.findChild<QLabel*>("helpSteps");
    QCOMPARE(steps->geometry(), QRect(10, 45, 500, 72));
    QCOMPARE(steps->text().split(u'\n').size(), 5);
    QCOMPARE(steps->text().split(u'\n').at(3),
             QStringLiteral(" 4. Нажать кнопку \"Опубликовать видео для Web\""));
    QCOMPARE(help.findChild<QLabel*>("helpOptionsSection")->geometry(), QRect(10, 120, 300, 24));
    QCOMPARE(help.findChild<QLabel*>("helpFilesSection")->text(),
             QStringLiteral(" Выходные файлы:"));
    for (int i = 0; i < 11; ++i) {
        auto* caption = help.findChild<QLabel*>(QStringLiteral("helpCaption%1").arg(i));
        auto* description = help.findChild<QLabel*>(QStringLiteral("helpDescription%1").arg(i));
        QVERIFY(caption && description);
        QCOMPARE(caption->geometry(), QRect(10, 150 + 20 * i, 110, i == 5 ? 20 : 19));
        QCOMPARE(description->geometry(), QRect(123, 150 + 20 * i, 670, 19));
        QCOMPARE(caption->palette().color(QPalette::Window), QColor(85, 85, 85));
        QCOMPARE(description->palette().color(QPalette::Window), QColor(255, 235, 205));
    }
    QCOMPARE(help.findChild<QLabel*>("helpCaption10")->text(),
             QStringLiteral(" Max FPS for stream"));
    QCOMPARE(help.findChild<QLabel*>("helpDescription7")->text(),
             QStringLiteral(" Audio громкость, 0 ~ 100%,  100% максимальное значение"));
    auto* files = help.findChild<QLabel*>("helpFiles");
    QCOMPARE(files->geometry(), QRect(10, 405, 784, 114));
    QVERIFY(files->text().startsWith(QStringLiteral("\n  1. Html Web страницаe\n")));
    QVERIFY(files->text().endsWith(QStringLiteral("используйте html тег <IFRAME>")));
    auto* close = help.findChild<QPushButton*>("helpCloseButton");
    QCOMPARE(close->text(), QStringLiteral("Закрыть"));
    QCOMPARE(close->geometry(), QRect(735, 490, 50, 20));
}

void HelpTest::quickHelpCloseTicks() {
    WindowFixture fixture;
    qm::app::MainWindow& window = fixture.open();
    int opened = 0;
    fixture.prompter.onModal = [&](QDialog& dialog) {
        ++opened;
        const int before = fixture.ticks.count;
        dialog.show();
        dialog.findChild<QPushButton*>("helpCloseButton")->click();
        QCOMPARE(fixture.ticks.count, before + 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    };
    window.menuActions().quickHelp->trigger();
    window.menuActions().quickHelp->trigger();
    QCOMPARE(opened, 2);
}

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
