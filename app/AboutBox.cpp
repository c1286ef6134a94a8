#include "app/AboutBox.h"

#include "ui/Look.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace qm::app {

namespace {
const QColor kAboutText{255, 0, 0};
const QColor kAboutBackground{20, 50, 195};
const QColor kLinkText{220, 210, 120};
const QColor kLinkBackground{0, 0, 127};
constexpr int kSizeUnits = 210;
} // namespace

AboutBox::AboutBox(QWidget* owner, const QCursor& linkCursor, UrlOpener openUrl)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      openUrl_(std::move(openUrl)) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(QIcon(QStringLiteral(":/app/VIDEO-32.png")));
    setFont(ui::dialogFont());
    // Dialog units: a quarter of the average character width, an eighth of the height.
    const QFontMetrics metrics(font());
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (alphabet / 26 + 1) / 2;
    baseY_ = metrics.height();
    setFixedSize(toPixels(0, 0, kSizeUnits, kSizeUnits).size());
    ui::setColours(this, kAboutText, kAboutBackground);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    const QPixmap picture(QStringLiteral(":/app/VIDEO-32.png"));
    icon->setPixmap(picture);
    icon->setGeometry(QRect(toPixels(10, 5, 0, 0).topLeft(), picture.size()));

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("aboutSeparator"));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(toPixels(10, 35, 190, 2));

    auto* title = new QLabel(QStringLiteral("Quillmark Html5"), this);
    title->setObjectName(QStringLiteral("aboutTitle"));
    title->setFont(ui::titleFont());
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(toPixels(0, 60, 210, 40));
    auto* build = new QLabel(QStringLiteral(" Build 012.00"), this);
    build->setObjectName(QStringLiteral("aboutBuild"));
    build->setAlignment(Qt::AlignCenter);
    build->setGeometry(toPixels(0, 105, 210, 12));

    supportLink_ = addLink(QStringLiteral("email: ") + QLatin1String(kMakerShortName),
                           QStringLiteral("supportLink"), QRect(0, 169, 70, 11), linkCursor);
    webLink_ = addLink(QLatin1String(kMakerWebAddress), QStringLiteral("webLink"),
                       QRect(70, 169, 141, 11), linkCursor);
}

QRect AboutBox::toPixels(int x, int y, int width, int height) const {
    auto horizontal = [this](int units) { return (units * baseX_ + 2) / 4; };
    auto vertical = [this](int units) { return (units * baseY_ + 4) / 8; };
    return {horizontal(x), vertical(y), horizontal(width), vertical(height)};
}

QUrl AboutBox::supportUrl() {
    return QUrl(QStringLiteral("mailto:") + QLatin1String(kMakerSupportAddress));
}

QUrl AboutBox::webUrl() {
    return QUrl(QLatin1String(kMakerWebAddress));
}

QLabel* AboutBox::addLink(const QString& text, const QString& name, const QRect& dialogUnits,
                          const QCursor& cursor) {
    auto* link = new QLabel(text, this);
    link->setObjectName(name);
    link->setTextFormat(Qt::PlainText);
    link->setAlignment(Qt::AlignCenter);
    ui::setColours(link, kLinkText, kLinkBackground);
    ui::setStaticEdge(link);
    link->setCursor(cursor);
    link->setGeometry(
        toPixels(dialogUnits.x(), dialogUnits.y(), dialogUnits.width(), dialogUnits.height()));
    link->installEventFilter(this);
    return link;
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == supportLink_) {
            openUrl_(supportUrl());
            return true;
        }
        if (watched == webLink_) {
            openUrl_(webUrl());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qm::app
