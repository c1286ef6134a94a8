#include "app/IconChooser.h"

#include "app/HotSpotPanel.h"
#include "model/HotSpotTable.h"
#include "ui/Look.h"

#include <QCursor>
#include <QScreen>
#include <QToolButton>

namespace qm::app {

namespace {
const QColor kChooserGrey{192, 192, 192};
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 215;
} // namespace

IconChooser::IconChooser(QWidget* owner, const QCursor& cursor)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("iconChooser"));
    setWindowTitle(QStringLiteral("Выбрать иконку для точки перехода Hot Spot"));
    setWindowIcon(QIcon(QStringLiteral(":/app/VIDEO-32.png")));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    ui::setColours(this, Qt::black, kChooserGrey);
    for (int icon = 0; icon < kIconCount; ++icon) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("icon%1").arg(icon));
        button->setAutoRaise(true);
        const QPixmap picture = HotSpotPanel::iconPicture(icon);
        button->setIcon(QIcon(picture));
        button->setIconSize(picture.size());
        button->setGeometry(iconRect(icon));
        if (icon < kIconsWithAppCursor) {
            button->setCursor(cursor);
        }
        connect(button, &QToolButton::clicked, this, [this, icon] { pick(icon); });
    }
}

QRect IconChooser::iconRect(int icon) {
    const int column = icon % kColumns;
    const int row = icon / kColumns;
    return {5 + 45 * column, 5 + 40 * row, 40, 37};
}

QToolButton* IconChooser::iconButton(int icon) const {
    return findChild<QToolButton*>(QStringLiteral("icon%1").arg(icon));
}

void IconChooser::pick(int icon) {
    chosenCode_ = kFirstIconCode + icon;
    accept();
}

void IconChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
}

} // namespace qm::app
