#include "app/HotSpotPanel.h"

#include "app/DigitKeysOnly.h"
#include "app/GradientButton.h"
#include "app/GroupFrame.h"
#include "app/OptionCheckBox.h"
#include "ui/Look.h"

#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace qm::app {

namespace {
constexpr int kRowTop = 171;
constexpr int kRowPitch = 47;
const QColor kValueBlue{0, 0, 255};

QLabel* addLabel(QWidget* client, const QString& text, const QString& name, const QRect& where,
                 const QColor& textColour, const QColor& background) {
    auto* label = new QLabel(text, client);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    ui::setColours(label, textColour, background);
    label->setGeometry(where);
    return label;
}

QLineEdit* addTextBox(QWidget* client, const QString& name, const QRect& where,
                      const QColor& textColour, const QColor& background) {
    auto* box = new QLineEdit(client);
    box->setObjectName(name);
    ui::setColours(box, textColour, background);
    box->setGeometry(where);
    return box;
}
} // namespace

HotSpotPanel::HotSpotPanel(QWidget* client, const QCursor& cursor) : QObject(client) {
    buildEditor(client, cursor);
    buildRows(client, cursor);
}

QString HotSpotPanel::selectorText(int slot) {
    return QStringLiteral("Hot Spot %1").arg(slot, 2, 10, QLatin1Char('0'));
}

void HotSpotPanel::buildEditor(QWidget* client, const QCursor& cursor) {
    QLabel* linkCaption =
        addLabel(client, QStringLiteral("  Hot Spot ссылка:"), QStringLiteral("linkCaption"),
                 QRect(250, 604, 110, 19), ui::kCyan, ui::kEditorBlue);
    ui::setStaticEdge(linkCaption);
    linkBox_ = addTextBox(client, QStringLiteral("linkBox"), QRect(362, 604, 445, 19), kValueBlue,
                          ui::kListGrey);
    QLabel* nameCaption =
        addLabel(client, QStringLiteral("  Hot Spot имя:"), QStringLiteral("nameCaption"),
                 QRect(250, 624, 110, 19), ui::kCyan, ui::kEditorBlue);
    ui::setStaticEdge(nameCaption);
    nameBox_ = addTextBox(client, QStringLiteral("nameBox"), QRect(362, 624, 445, 19), kValueBlue,
                          ui::kListGrey);

    auto addCommand = [&](const QString& caption, const QString& name, int y) {
        auto* button = new GradientButton(caption, ui::GradientFamily::Blue, client);
        button->setObjectName(name);
        button->setCursor(cursor);
        button->setGeometry(810, y, 110, 20);
        return button;
    };
    addButton_ = addCommand(QStringLiteral("Добавить HS"), QStringLiteral("addHsButton"), 604);
    deleteButton_ = addCommand(QStringLiteral("Удалить HS"), QStringLiteral("deleteHsButton"), 624);
    deleteAllButton_ =
        addCommand(QStringLiteral("Удалить все HS"), QStringLiteral("deleteAllHsButton"), 644);
    connect(addButton_, &GradientButton::clicked, this, &HotSpotPanel::addRequested);
    connect(deleteButton_, &GradientButton::clicked, this, &HotSpotPanel::deleteRequested);
    connect(deleteAllButton_, &GradientButton::clicked, this, &HotSpotPanel::deleteAllRequested);

    auto* self = new OptionCheckBox(QStringLiteral("self HS режим"),
                                    OptionCheckBox::TextSide::RightOfBox, true, client);
    self->setObjectName(QStringLiteral("selfCheck"));
    ui::setColours(self, ui::kCyan, ui::kSelectorBlue);
    self->setGeometry(700, 644, 106, 20);
    self->setChecked(true);
    connect(self, &QCheckBox::clicked, this, &HotSpotPanel::commandIssued);
    selfCheck_ = self;
}

void HotSpotPanel::buildRows(QWidget* client, const QCursor& cursor) {
    auto* frame = new GroupFrame(QStringLiteral(" Hot Spots "), client);
    frame->setObjectName(QStringLiteral("hotSpotsFrame"));
    ui::setColours(frame, Qt::white, Qt::black);
    frame->setAutoFillBackground(false);
    frame->setGeometry(950, 150, 245, 490);
    frame->lower();
    for (int slot = 1; slot <= kRows; ++slot) {
        rows_[static_cast<std::size_t>(slot - 1)] = buildRow(client, cursor, slot);
    }
    rows_[0].selector->setChecked(true);
}

HotSpotRow HotSpotPanel::buildRow(QWidget* client, const QCursor& cursor, int slot) {
    const int y = kRowTop + kRowPitch * (slot - 1);
    const QString n = QString::number(slot);
    HotSpotRow row;

    row.icon = new QToolButton(client);
    row.icon->setObjectName(QStringLiteral("iconButton") + n);
    row.icon->setAutoRaise(true);
    row.icon->setToolTip(QStringLiteral("Выбрать иконку для точки перехода Hot Spot"));
    const QPixmap picture = iconPicture(0);
    row.icon->setIcon(QIcon(picture));
    row.icon->setIconSize(picture.size());
    row.icon->setCursor(cursor);
    row.icon->setGeometry(963, y, 45, 39);
    connect(row.icon, &QToolButton::clicked, this, [this, slot] { emit iconRequested(slot); });

    auto* selector =
        new OptionCheckBox(selectorText(slot), OptionCheckBox::TextSide::RightOfBox, false, client);
    selector->setObjectName(QStringLiteral("slotSelector") + n);
    ui::setColours(selector, ui::kCyan, ui::kSelectorBlue);
    selector->setGeometry(1014, y, 83, 17);
    connect(selector, &QCheckBox::clicked, this, [this, slot] {
        emit commandIssued();
        emit slotSelected(slot);
    });
    row.selector = selector;

    auto caption = [&](const QString& text, const QString& name, const QRect& where) {
        QLabel* label = addLabel(client, text, name + n, where, ui::kCyan, ui::kEditorBlue);
        label->setAlignment(Qt::AlignCenter);
    };
    auto value = [&](const QString& name, const QRect& where) {
        QLabel* label = addLabel(client, QString(), name + n, where, kValueBlue, ui::kListGrey);
        label->setAlignment(Qt::AlignCenter);
        ui::setThinBorder(label);
        return label;
    };
    caption(QStringLiteral("Yaw:"), QStringLiteral("yawCaption"), QRect(1104, y, 40, 17));
    row.yawValue = value(QStringLiteral("yawValue"), QRect(1147, y, 40, 17));
    caption(QStringLiteral("Pos:"), QStringLiteral("posCaption"), QRect(1014, y + 19, 20, 17));
    row.posValue = value(QStringLiteral("posValue"), QRect(1037, y + 19, 60, 17));
    caption(QStringLiteral("Time:"), QStringLiteral("timeCaption"), QRect(1104, y + 19, 40, 17));

    row.timeBox = addTextBox(client, QStringLiteral("timeBox") + n, QRect(1147, y + 19, 40, 17),
                             Qt::black, Qt::white);
    row.timeBox->setText(QStringLiteral("5.0"));
    row.timeBox->setAlignment(Qt::AlignCenter);
    row.timeBox->setTextMargins(0, 0, 0, 0);
    row.timeBox->installEventFilter(new DigitKeysOnly(row.timeBox));
    return row;
}

QPixmap HotSpotPanel::iconPicture(int icon) {
    const QString name = QStringLiteral(":/app/arrow%1.png").arg(icon);
    return QFile::exists(name) ? QPixmap(name) : QPixmap();
}

void HotSpotPanel::showIcon(int slot, std::int32_t code) {
    if (slot < 1 || slot > kRows) {
        return;
    }
    // Publishing gives every code outside the set (0 among them) icon 0, so
    // the button shows icon 0 for them too: the row always shows what the
    // page will show.
    const std::int32_t icon = code - kFirstIconCode;
    const QPixmap picture = iconPicture(icon >= 0 && icon < kIconCount ? icon : 0);
    if (!picture.isNull()) {
        row(slot).icon->setIcon(QIcon(picture));
    }
}

void HotSpotPanel::showIcons(const HotSpotIcons& codes) {
    for (int slot = 1; slot <= kRows; ++slot) {
        showIcon(slot, codes[static_cast<std::size_t>(slot - 1)]);
    }
}

} // namespace qm::app
