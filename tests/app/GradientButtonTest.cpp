// The owner-drawn command buttons: band rows by the ties-to-even rule with a
// float step, the five colour families, and what the pixels show at rest and
// while pressed.

#include "app/GradientButton.h"
#include "ui/Gradient.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

using qm::app::GradientButton;
using qm::ui::bandColour;
using qm::ui::bandRows;
using qm::ui::GradientFamily;

class GradientButtonTest : public QObject {
    Q_OBJECT

  private slots:
    void bandRowsRoundTiesToEven();
    void familyColours();
    void restingButtonShowsTheGradientAndCaption();
    void pressedButtonShowsProcess();
};

void GradientButtonTest::bandRowsRoundTiesToEven() {
    // Height 20: step 0.1. Band 4 ends at 0.5, which rounds down to 0 (even),
    // so band 4 is empty and band 5 covers row 0.
    QCOMPARE(bandRows(20, 4).top, 0);
    QCOMPARE(bandRows(20, 4).bottom, 0);
    QCOMPARE(bandRows(20, 5).top, 0);
    QCOMPARE(bandRows(20, 5).bottom, 1);
    // 1.5 rounds up to 2 and 2.5 down to 2: band 14 covers row 1, band 25 row 2.
    QCOMPARE(bandRows(20, 14).top, 1);
    QCOMPARE(bandRows(20, 14).bottom, 2);
    QCOMPARE(bandRows(20, 25).top, 2);
    QCOMPARE(bandRows(20, 25).bottom, 3);
    QCOMPARE(bandRows(20, 24).bottom, 2);
    // Height 24: step 0.12; band 199 ends at the bottom edge.
    QCOMPARE(bandRows(24, 199).bottom, 24);
    QCOMPARE(bandRows(24, 0).top, 0);
}

void GradientButtonTest::familyColours() {
    QCOMPARE(bandColour(GradientFamily::Blue, 0), QColor(0, 199, 255));
    QCOMPARE(bandColour(GradientFamily::Blue, 199), QColor(0, 0, 56));
    QCOMPARE(bandColour(GradientFamily::Green, 10), QColor(0, 245, 0));
    QCOMPARE(bandColour(GradientFamily::Grey, 55), QColor(200, 200, 200));
    QCOMPARE(bandColour(GradientFamily::Red, 199), QColor(56, 0, 0));
    QCOMPARE(bandColour(GradientFamily::Teal, 100), QColor(0, 155, 155));
}

void GradientButtonTest::restingButtonShowsTheGradientAndCaption() {
    QWidget host;
    host.resize(300, 100);
    // 22 pixels high with a one-pixel edge: a client height of 20, as the load buttons have.
    auto* button =
        new GradientButton(QStringLiteral("Загрузить Web видео1"), GradientFamily::Green, &host);
    button->setGeometry(5, 5, 139, 22);
    QCOMPARE(button->clientRect(), QRect(1, 1, 137, 20));
    const QImage image = button->grab().toImage();
    // Row 0 of the client area is band 5, row 1 band 14, row 2 band 25 (ties to even).
    QCOMPARE(image.pixelColor(3, 1), QColor(0, 250, 0));
    QCOMPARE(image.pixelColor(3, 2), QColor(0, 241, 0));
    QCOMPARE(image.pixelColor(3, 3), QColor(0, 230, 0));
    // The last row is band 194: 19.5 rounds to 20, so band 195 starts below the button.
    QCOMPARE(image.pixelColor(3, 20), QColor(0, 61, 0));
    // The caption is white, somewhere around the middle.
    int white = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 6; y < 16; ++y) {
            white += image.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
        }
    }
    QVERIFY(white > 20);
}

void GradientButtonTest::pressedButtonShowsProcess() {
    QWidget host;
    host.resize(300, 100);
    auto* button = new GradientButton(QStringLiteral("Добавить HS"), GradientFamily::Blue, &host);
    button->setGeometry(0, 0, 110, 20);
    button->setDown(true);
    const QImage image = button->grab().toImage();
    // Sunken edge: dark outer line at the top-left of the client area.
    QCOMPARE(image.pixelColor(1, 1), QColor(160, 160, 160));
    QCOMPARE(image.pixelColor(2, 2), QColor(105, 105, 105));
    QCOMPARE(image.pixelColor(108, 18), QColor(255, 255, 255));
    // Against the gradient under it, blue text lowers the green and keeps the blue
    // at its top; white would raise the red, which neither the gradient nor blue has.
    const QRect client = button->clientRect();
    int blue = 0;
    int white = 0;
    for (int y = 3; y < 17; ++y) {
        QColor under;
        for (int band = 0; band < qm::ui::kBandCount; ++band) {
            const qm::ui::BandRows rows = bandRows(client.height(), band);
            if (rows.top <= y - client.top() && y - client.top() < rows.bottom) {
                under = bandColour(GradientFamily::Blue, band);
            }
        }
        for (int x = 3; x < 107; ++x) {
            const QColor colour = image.pixelColor(x, y);
            blue += colour.green() < under.green() - 30 && colour.blue() >= under.blue() ? 1 : 0;
            white += colour.red() > 50 ? 1 : 0;
        }
    }
    QVERIFY(blue > 10);
    QCOMPARE(white, 0);

    button->setDown(false);
    const QImage released = button->grab().toImage();
    // Client height 18 (step 0.09): row 1 is band 16.
    QCOMPARE(released.pixelColor(2, 2), QColor(0, 183, 239));
}

QTEST_MAIN(GradientButtonTest)
#include "GradientButtonTest.moc"
