#include "app/QuickHelp.h"

#include "app/TickSound.h"
#include "ui/Look.h"

#include <QLabel>
#include <QPushButton>

#include <array>

namespace qm::app {

namespace {
const QColor kHelpBackground{210, 180, 140};
const QColor kSectionBackground{255, 222, 173};
const QColor kDescriptionBackground{255, 235, 205};
const QColor kFilesBackground{244, 164, 96};

QLabel* addLabel(QWidget* parent, const QString& text, const QRect& where, const QColor& text_,
                 const QColor& background) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::setColours(label, text_, background);
    label->setGeometry(where);
    return label;
}

// Each CR of the help texts starts a new line.
QString lines(const QString& text) {
    QString shown = text;
    shown.replace(u'\r', u'\n');
    return shown;
}

struct OptionRow {
    int y;
    const char* caption;
    const char* description;
};

// clang-format off
const std::array<OptionRow, 11> kOptionRows = {{
    {150, " Размер окна", " Размер html5 окна плеера: 640x320, 640x400, 640x480, 700x300, 700x480, 800x400, 800x600, 960x480 пиксел."},
    {170, " Параметр Сферы", " Использовать \"Параметр Сферы\" для определения качества 360 видео потока."},
    {190, " Панель управлен.", " Показать или спрятать панель управления плеера (кнопки,элементы управления, прочее) в режиме \"всплывания\""},
    {210, " Zoom значение", " Значение приближения для определения управления приближением"},
    {230, " Yaw значение ", " YAW значение определяет стартовую позицию, горизонтальный угол: 0 ~ 330 (360 град.), 30 град. шаг"},
    {250, " Pitch значение", " Позиция угла центра верт. просмотра: 30 to -30 град., 0 град. по умолчанию. Используйте \"auto\" режим."},
    {270, " Лимит верт. угла", " Ограничение вертикального угла: верх: 50 ~ 90 град. Низ -50 ~ -90 град.. Используйте \"auto\" режим для кругового формата."},
    {290, " Audio громкость ", " Audio громкость, 0 ~ 100%,  100% максимальное значение"},
    {310, " Html BGColor", " Выберите фоновый цвет для Html web страницы"},
    {330, " Html <TITLE>", " Добавить Html титульную надпись для выходной web страницы"},
    {350, " Max FPS for stream", " Значение максимального пропускного потока для видео в Интернете."},
}};
// clang-format on
} // namespace

QuickHelp::QuickHelp(QWidget* owner, TickPlayer& ticks)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("quickHelp"));
    setWindowTitle(QStringLiteral("Помощь"));
    setWindowIcon(QIcon(QStringLiteral(":/app/VIDEO-32.png")));
    setFixedSize(800, 528);
    ui::setColours(this, Qt::black, kHelpBackground);
    buildHeading();
    buildOptionRows();
    buildOutputFiles();
    buildCloseButton(ticks);
}

void QuickHelp::buildHeading() {
    QLabel* heading = addLabel(this, QStringLiteral("  Краткая инструкция:"), QRect(0, 0, 800, 38),
                               Qt::black, Qt::white);
    heading->setObjectName(QStringLiteral("helpHeading"));
    heading->setFont(ui::timesFont(20, true, true));
    heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QLabel* steps = addLabel(
        this,
        lines(QStringLiteral(" 1. Выбрать Web видео \r 2. Выбрать требуемые опции \r 3. добавить "
                             "текст и URL \r 4. Нажать кнопку \"Опубликовать видео для Web\"\r 5. "
                             "Установить все выходные файлы на Вашу Web страницу")),
        QRect(10, 45, 500, 72), Qt::black, kHelpBackground);
    steps->setObjectName(QStringLiteral("helpSteps"));
}

void QuickHelp::buildOptionRows() {
    QLabel* section = addLabel(this, QStringLiteral(" Основные опции:"), QRect(10, 120, 300, 24),
                               Qt::black, kSectionBackground);
    section->setObjectName(QStringLiteral("helpOptionsSection"));
    section->setFont(ui::timesFont(15, true, false));
    int index = 0;
    for (const OptionRow& row : kOptionRows) {
        const int height = row.y == 250 ? 20 : 19;
        QLabel* caption = addLabel(this, QString::fromUtf8(row.caption),
                                   QRect(10, row.y, 110, height), Qt::white, ui::kCaptionGrey);
        caption->setObjectName(QStringLiteral("helpCaption%1").arg(index));
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        ui::setStaticEdge(caption);
        QLabel* description =
            addLabel(this, QString::fromUtf8(row.description), QRect(123, row.y, 670, 19),
                     Qt::black, kDescriptionBackground);
        description->setObjectName(QStringLiteral("helpDescription%1").arg(index));
        description->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        ++index;
    }
}

void QuickHelp::buildOutputFiles() {
    QLabel* section = addLabel(this, QStringLiteral(" Выходные файлы:"), QRect(10, 376, 300, 24),
                               Qt::black, kSectionBackground);
    section->setObjectName(QStringLiteral("helpFilesSection"));
    section->setFont(ui::timesFont(15, true, false));
    QLabel* files = addLabel(
        this,
        lines(QStringLiteral(
            "\r  1. Html Web страницаe\r  2. /images/папка\r  3. /js/папка\r  4. Web "
            "movie/видео\r  _____________________________________________\r  Установить все "
            "файлы и папки на вашей страницеe\r  Для внедрения 360 видео на существующую "
            "страницу - используйте html тег <IFRAME>")),
        QRect(10, 405, 784, 114), Qt::black, kFilesBackground);
    files->setObjectName(QStringLiteral("helpFiles"));
    ui::setStaticEdge(files);
}

void QuickHelp::buildCloseButton(TickPlayer& ticks) {
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("helpCloseButton"));
    close->setStyleSheet(ui::flatButtonStyle());
    close->setGeometry(735, 490, 50, 20);
    connect(close, &QPushButton::clicked, this, [this, &ticks] {
        ticks.playTick();
        accept();
    });
}

} // namespace qm::app
