#include "app/OptionsPanel.h"

#include "app/DropList.h"
#include "app/GroupFrame.h"
#include "app/OptionCheckBox.h"
#include "app/OptionsStore.h"
#include "ui/Look.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace qm::app {

namespace {
constexpr int kCaptionX = 12;
constexpr int kCaptionWidth = 110;
constexpr int kListX = 124;
constexpr int kListWidth = 80;
constexpr int kWindowListWidth = 100;
constexpr int kListHeight = 21;
// Field and open list together.
constexpr int kDropHeight = 90;
constexpr int kWindowDropHeight = 290;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

OptionsPanel::OptionsPanel(QWidget* client, OptionsStore& store)
    : QObject(client), client_(client), store_(store) {
    buildFrame();
    buildRows();
    buildTitleRow();
    buildViewModeGroup();
    connect(&store_, &OptionsStore::optionsChanged, this, &OptionsPanel::refresh);
    refresh();
}

QColor OptionsPanel::toQColor(std::uint32_t colour) {
    return {static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
            static_cast<int>((colour >> 16) & 0xFFu)};
}

std::uint32_t OptionsPanel::fromQColor(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

void OptionsPanel::buildFrame() {
    auto* frame = new GroupFrame(QStringLiteral(" Опции "), client_);
    frame->setObjectName(QStringLiteral("optionsFrame"));
    ui::setColours(frame, Qt::white, Qt::black);
    frame->setAutoFillBackground(false);
    frame->setGeometry(5, 150, 940, 519);
}

QLabel* OptionsPanel::addCaption(const QString& text, const char* name, int x, int y, int height) {
    auto* label = new QLabel(text, client_);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ui::setColours(label, Qt::white, ui::kCaptionGrey);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setGeometry(x, y, kCaptionWidth, height);
    return label;
}

QComboBox* OptionsPanel::addList(Choice choice, const char* name, int y) {
    const bool windowList = choice == Choice::Window;
    // The window sizes all fit in their drop height; the other lists scroll.
    auto* list = new DropList(
        windowList ? kWindowDropHeight : kDropHeight,
        windowList ? DropList::ScrollBar::Never : DropList::ScrollBar::AsNeeded, client_);
    list->setObjectName(QLatin1String(name));
    // The zoom list is built once from the start-up bound; a later ZOOMMAX only travels.
    const std::vector<std::string> items =
        choice == Choice::Zoom ? zoomItems(kDefaultZoomMax) : choiceItems(choice);
    for (const std::string& item : items) {
        list->addItem(fromUtf8(item));
    }
    ui::setColours(list, Qt::black, ui::kListGrey);
    list->setGeometry(kListX, y, windowList ? kWindowListWidth : kListWidth, kListHeight);
    lists_[choice] = list;
    connect(list, &QComboBox::activated, this, [this, choice](int index) {
        emit commandIssued();
        store_.changeOptions([&](PlayerOptions& options) { options.setItem(choice, index + 1); });
    });
    refreshers_.push_back([this, list, choice] {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(store_.options().item(choice) - 1);
    });
    return list;
}

OptionCheckBox* OptionsPanel::addCheck(const QString& text, const char* name, int y) {
    auto* box = new OptionCheckBox(text, OptionCheckBox::TextSide::LeftOfBox, true, client_);
    box->setObjectName(QLatin1String(name));
    ui::setColours(box, Qt::white, ui::kCaptionGrey);
    box->setGeometry(kCaptionX, y, kCaptionWidth, 19);
    connect(box, &QCheckBox::clicked, this, &OptionsPanel::commandIssued);
    return box;
}

QLineEdit* OptionsPanel::addDigitsBox(const char* name, const QRect& geometry, bool centred) {
    auto* box = new QLineEdit(client_);
    box->setObjectName(QLatin1String(name));
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft);
    box->setTextMargins(0, 0, 0, 0);
    ui::setColours(box, Qt::black, ui::kListGrey);
    box->setGeometry(geometry);
    return box;
}

QLabel* OptionsPanel::addSwatch(const char* name, const QRect& geometry) {
    auto* swatch = new QLabel(client_);
    swatch->setObjectName(QLatin1String(name));
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setLineWidth(1);
    ui::setColours(swatch, Qt::black, Qt::black);
    swatch->setGeometry(geometry);
    return swatch;
}

QPushButton* OptionsPanel::addFlatButton(const char* name, const QRect& geometry) {
    auto* button = new QPushButton(QStringLiteral("выбрать цвет"), client_);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    button->setStyleSheet(ui::flatButtonStyle());
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(geometry);
    connect(button, &QPushButton::clicked, this, &OptionsPanel::commandIssued);
    return button;
}

void OptionsPanel::bindSwitch(OptionCheckBox* box, bool PlayerOptions::*flag) {
    connect(box, &QCheckBox::clicked, this, [this, flag](bool checked) {
        store_.changeOptions([&](PlayerOptions& options) { options.*flag = checked; });
    });
    refreshers_.push_back([this, box, flag] {
        const QSignalBlocker blocker(box);
        box->setChecked(store_.options().*flag);
    });
}

void OptionsPanel::bindTransientSwitch(OptionCheckBox* box, bool TransientSettings::*flag) {
    connect(box, &QCheckBox::clicked, this, [this, flag](bool checked) {
        store_.changeOptions([&](PlayerOptions& options) { options.transient.*flag = checked; });
    });
    refreshers_.push_back([this, box, flag] {
        const QSignalBlocker blocker(box);
        box->setChecked(store_.options().transient.*flag);
    });
}

void OptionsPanel::bindTransientText(QLineEdit* box, std::string TransientSettings::*text) {
    connect(box, &QLineEdit::textChanged, this, [this, text](const QString& typed) {
        store_.changeOptions(
            [&](PlayerOptions& options) { options.transient.*text = typed.toStdString(); });
    });
    refreshers_.push_back([this, box, text] {
        const QString held = QString::fromStdString(store_.options().transient.*text);
        if (box->text() != held) {
            const QSignalBlocker blocker(box);
            box->setText(held);
        }
    });
}

void OptionsPanel::buildRows() {
    addCaption(QStringLiteral("  Размер окна"), "windowCaption", kCaptionX, 170);
    addList(Choice::Window, "windowList", 169);
    bindSwitch(addCheck(QStringLiteral(" Полный экран "), "fullScreenCheck", 190),
               &PlayerOptions::fullScreen);
    bindSwitch(addCheck(QStringLiteral(" Панель управлен."), "controlsCheck", 210),
               &PlayerOptions::controls);
    addList(Choice::ControlBar, "controlBarList", 209);
    addCaption(QStringLiteral("  Zoom значение"), "zoomCaption", kCaptionX, 230);
    addList(Choice::Zoom, "zoomList", 229);
    addCaption(QStringLiteral("  Yaw значение "), "yawCaption", kCaptionX, 250);
    addList(Choice::Yaw, "yawList", 249);
    addCaption(QStringLiteral("  Pitch значение"), "pitchCaption", kCaptionX, 270, 20);
    addList(Choice::Pitch, "pitchList", 269);
    addCaption(QStringLiteral("  Лимит верт. угла"), "tiltCaption", kCaptionX, 290);
    addList(Choice::Tilt, "tiltList", 289);
    QLineEdit* tiltBox = addDigitsBox("manualTiltBox", QRect(206, 290, 20, 19), false);
    bindTransientText(tiltBox, &TransientSettings::manualTilt);
    addCaption(QStringLiteral("  Параметр Сферы"), "qualCaption", kCaptionX, 310);
    addList(Choice::Qual, "qualList", 309);
    addCaption(QStringLiteral("  Max FPS for stream"), "maxFpsCaption", kCaptionX, 330);
    addList(Choice::MaxFps, "maxFpsList", 329);
    addCaption(QStringLiteral("  Чувствит. мышки"), "mouseSpeedCaption", kCaptionX, 350);
    addList(Choice::MouseSpeed, "mouseSpeedList", 349);
    bindSwitch(addCheck(QStringLiteral(" Статистика"), "statCheck", 370), &PlayerOptions::stat);
    addCaption(QStringLiteral("  X-выравнять окно"), "winPosXCaption", kCaptionX, 390);
    addList(Choice::WinPosX, "winPosXList", 389);
    addCaption(QStringLiteral("  Y-выравнять окно"), "winPosYCaption", kCaptionX, 410);
    addList(Choice::WinPosY, "winPosYList", 409);
    addCaption(QStringLiteral("  Audio громкость "), "audioCaption", kCaptionX, 430);
    addList(Choice::Audio, "audioList", 429);
    buildManualSizeRow();
    buildColourRow();
    bindTransientSwitch(addCheck(QStringLiteral(" <muted> On/Off"), "mutedCheck", 490),
                        &TransientSettings::muted);
    bindTransientSwitch(addCheck(QStringLiteral(" Lock Full Screen"), "lockFullScreenCheck", 510),
                        &TransientSettings::lockFullScreen);
}

void OptionsPanel::buildManualSizeRow() {
    bindTransientSwitch(addCheck(QStringLiteral(" П.размер окна"), "manualSizeCheck", 450),
                        &TransientSettings::manualSize);
    QLineEdit* width = addDigitsBox("manualWidthBox", QRect(124, 450, 29, 19), true);
    bindTransientText(width, &TransientSettings::manualWidth);
    auto* pixels = new QLabel(QStringLiteral("x           pixels"), client_);
    pixels->setObjectName(QStringLiteral("pixelsLabel"));
    pixels->setTextFormat(Qt::PlainText);
    pixels->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::setColours(pixels, Qt::black, std::nullopt);
    // Its run of blanks must be wide enough for the height box that lies over it.
    QFont wide = pixels->font();
    wide.setFamily(QStringLiteral("Liberation Sans"));
    pixels->setFont(wide);
    pixels->setGeometry(155, 454, 92, 19);
    // Created after the label so that it lies over the label's run of blanks.
    QLineEdit* height = addDigitsBox("manualHeightBox", QRect(162, 450, 29, 19), true);
    bindTransientText(height, &TransientSettings::manualHeight);
}

void OptionsPanel::buildColourRow() {
    addCaption(QStringLiteral("  Html BGColor"), "htmlBgColorCaption", kCaptionX, 470);
    htmlBgSwatch_ = addSwatch("htmlBgSwatch", QRect(124, 470, 30, 18));
    htmlBgButton_ = addFlatButton("htmlBgButton", QRect(156, 470, 75, 18));
    refreshers_.push_back([this] {
        ui::setColours(htmlBgSwatch_, Qt::black, toQColor(store_.options().htmlBgColor));
        htmlBgSwatch_->update();
    });
}

void OptionsPanel::buildTitleRow() {
    addCaption(QStringLiteral("  Html <TITLE>"), "htmlTitleCaption", 10, 645);
    titleBox_ = new QLineEdit(client_);
    titleBox_->setObjectName(QStringLiteral("htmlTitleBox"));
    ui::setColours(titleBox_, Qt::black, ui::kTitleBoxGrey);
    titleBox_->setGeometry(124, 645, 573, 19);
    connect(titleBox_, &QLineEdit::textChanged, this, [this](const QString& typed) {
        store_.changeOptions(
            [&](PlayerOptions& options) { options.htmlTitle = typed.toStdString(); });
    });
    refreshers_.push_back([this] {
        const QString held = QString::fromStdString(store_.options().htmlTitle);
        if (titleBox_->text() != held) {
            const QSignalBlocker blocker(titleBox_);
            titleBox_->setText(held);
        }
    });
}

void OptionsPanel::buildViewModeGroup() {
    auto* frame = new GroupFrame(QStringLiteral("  Режим плеера:"), client_);
    frame->setObjectName(QStringLiteral("viewModeFrame"));
    ui::setColours(frame, Qt::white, Qt::black);
    frame->setAutoFillBackground(false);
    frame->setGeometry(10, 556, 110, 86);

    auto* group = new QButtonGroup(this);
    auto addOption = [this, group](const QString& text, const char* name, int y, int mode) {
        auto* option = new QRadioButton(text, client_);
        option->setObjectName(QLatin1String(name));
        ui::setColours(option, Qt::black, ui::kListGrey);
        option->setGeometry(17, y, 96, 19);
        group->addButton(option, mode);
        connect(option, &QRadioButton::clicked, this, [this, mode] {
            emit commandIssued();
            store_.changeOptions([&](PlayerOptions& options) { options.viewMode = mode; });
        });
        return option;
    };
    classic_ = addOption(QStringLiteral("\"Classic\""), "classicOption", 577, 0);
    blackAreas_ = addOption(QStringLiteral("\"Black Areas\""), "blackAreasOption", 597, 1);
    blackAreaSwatch_ = addSwatch("blackAreaSwatch", QRect(17, 617, 20, 18));
    blackAreaButton_ = addFlatButton("blackAreaButton", QRect(38, 617, 75, 18));
    refreshers_.push_back([this] {
        const bool classic = store_.options().viewMode == 0;
        const QSignalBlocker classicBlocker(classic_);
        const QSignalBlocker blackBlocker(blackAreas_);
        classic_->setChecked(classic);
        blackAreas_->setChecked(!classic);
        ui::setColours(blackAreaSwatch_, Qt::black, toQColor(store_.options().blackAreaColor));
        blackAreaSwatch_->update();
    });
}

void OptionsPanel::refresh() {
    for (const auto& refresher : refreshers_) {
        refresher();
    }
}

} // namespace qm::app
