#include "app/HotSpotEditor.h"

#include "app/HotSpotPanel.h"
#include "app/IconChooser.h"
#include "app/OptionsStore.h"
#include "app/Prompter.h"
#include "model/HotSpotTable.h"
#include "model/TextForms.h"
#include "preview/PlayerControl.h"
#include "preview/PreviewArea.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <utility>

namespace qm::app {

namespace {
constexpr int kPlayBeforeHoldMs = 100;
const QString kEmptyTime = QStringLiteral("5.0");

QString maskShown(double value, std::string_view mask) {
    return QString::fromStdString(maskText(value, mask));
}
} // namespace

HotSpotEditor::HotSpotEditor(HotSpotPanel& panel, preview::PreviewArea& preview,
                             OptionsStore& store, Prompter& prompter, QWidget* owner,
                             QCursor cursor)
    : QObject(owner), panel_(panel), preview_(preview), store_(store), prompter_(prompter),
      owner_(owner), cursor_(std::move(cursor)) {
    connect(&panel_, &HotSpotPanel::slotSelected, this, &HotSpotEditor::selectSlot);
    connect(&panel_, &HotSpotPanel::iconRequested, this, &HotSpotEditor::chooseIcon);
    connect(&store_, &OptionsStore::optionsChanged, this,
            [this] { panel_.showIcons(store_.options().hsIcons); });
    panel_.showIcons(store_.options().hsIcons);
}

void HotSpotEditor::selectSlot(int n) {
    currentSlot_ = (n >= 1 && n <= HotSpotPanel::kRows) ? n : 0;
    for (int slot = 1; slot <= HotSpotPanel::kRows; ++slot) {
        panel_.row(slot).selector->setChecked(slot == currentSlot_);
    }
    showSlot(currentSlot_);
}

void HotSpotEditor::showSlot(int s) {
    const HotSpotItem& item = store_.project().hotSpots.record(s);
    panel_.linkBox()->setText(QString::fromStdString(item.strippedLink()));
    panel_.nameBox()->setText(QString::fromStdString(item.strippedTitle()));
    panel_.selfCheck()->setChecked(item.self != 0);
    preview_.setYaw(item.yaw);
    preview_.placeMarker();
    if (item.pos == 0.0) {
        return;
    }
    showRowDisplays(s);
    seekAndHold(item.pos);
}

void HotSpotEditor::seekAndHold(double position) {
    preview::PlayerControl& player = preview_.player();
    player.setPosition(position);
    player.play();
    // The player needs a moment of playing to show the frame it was sent to.
    // Clicks and keys wait meanwhile, so no other command runs inside this one.
    QEventLoop wait;
    QTimer::singleShot(kPlayBeforeHoldMs, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    player.setPosition(position);
    player.pause();
    // Once more after the pause has been handled, so the marker stays visible
    // over the frame the player has just drawn.
    QTimer::singleShot(0, &preview_, &preview::PreviewArea::placeMarker);
}

void HotSpotEditor::addHotSpot() {
    if (currentSlot_ == 0) {
        return;
    }
    const int slot = currentSlot_;
    const std::string link = panel_.linkBox()->text().toStdString();
    const std::string title = panel_.nameBox()->text().toStdString();
    const std::string time = panel_.row(slot).timeBox->text().toStdString();
    // An empty link is refused before the player is touched, so it keeps playing.
    if (trimBlanks(link).empty()) {
        refuse(StoreRefusal::EmptyLink);
        return;
    }
    preview::PlayerControl& player = preview_.player();
    player.pause();
    const double position = player.position();
    const std::optional<StoreRefusal> refusal = store_.storeHotSpot(
        slot, link, title, preview_.currentYaw(), position, time, panel_.selfCheck()->isChecked());
    if (refusal) {
        refuse(*refusal);
        return;
    }
    const HotSpotRow& row = panel_.row(slot);
    row.yawValue->setText(maskShown(preview_.currentYaw(), "###"));
    row.posValue->setText(maskShown(position, "######.0"));
    warnIfCut(title, store_.project().hotSpots.record(slot).title);
}

void HotSpotEditor::warnIfCut(const std::string& typed, const std::string& stored) {
    if (stored == typed) {
        return;
    }
    prompter_.inform(owner_, MessageIcon::Warning, QStringLiteral("Warning"),
                     QStringLiteral("Имя длиннее %1 знаков, сохранено: \"%2\"")
                         .arg(kTitleBytes)
                         .arg(QString::fromStdString(stored)));
}

void HotSpotEditor::refuse(StoreRefusal refusal) {
    const RefusalMessage message = refusalMessage(refusal);
    prompter_.inform(
        owner_, MessageIcon::Warning,
        QString::fromUtf8(message.caption.data(), static_cast<qsizetype>(message.caption.size())),
        QString::fromUtf8(message.text.data(), static_cast<qsizetype>(message.text.size())));
}

void HotSpotEditor::deleteHotSpot() {
    if (currentSlot_ == 0) {
        return;
    }
    store_.removeHotSpot(currentSlot_);
    resetRowDisplays(currentSlot_);
    clearBoxesAndCentreYaw();
}

void HotSpotEditor::deleteAllHotSpots() {
    store_.removeAllHotSpots();
    for (int slot = 1; slot <= HotSpotPanel::kRows; ++slot) {
        panel_.row(slot).selector->setChecked(false);
        resetRowDisplays(slot);
    }
    panel_.row(1).selector->setChecked(true);
    currentSlot_ = 1;
    clearBoxesAndCentreYaw();
}

void HotSpotEditor::showLoadedProject() {
    for (int slot = 1; slot <= HotSpotPanel::kRows; ++slot) {
        // Rows of empty slots must not keep what an earlier project showed.
        resetRowDisplays(slot);
        showSlot(slot);
    }
    selectSlot(0);
}

void HotSpotEditor::chooseIcon(int slot) {
    if (chooserOpen_ || slot < 1 || slot > HotSpotPanel::kRows) {
        return;
    }
    chooserOpen_ = true;
    IconChooser chooser(owner_, cursor_);
    prompter_.showModal(chooser);
    // Closing without a pick keeps the row's icon as it was.
    if (const std::int32_t code = chooser.chosenCode(); code != 0) {
        store_.setIconCode(slot, code);
    }
    chooserOpen_ = false;
}

void HotSpotEditor::showRowDisplays(int slot) {
    const HotSpotItem& item = store_.project().hotSpots.record(slot);
    const HotSpotRow& row = panel_.row(slot);
    row.yawValue->setText(maskShown(item.yaw, "###"));
    row.posValue->setText(maskShown(item.pos, "######.0"));
    row.timeBox->setText(maskShown(item.time, "###.0"));
}

void HotSpotEditor::resetRowDisplays(int slot) {
    const HotSpotRow& row = panel_.row(slot);
    row.yawValue->clear();
    row.posValue->clear();
    row.timeBox->setText(kEmptyTime);
}

void HotSpotEditor::clearBoxesAndCentreYaw() {
    panel_.linkBox()->clear();
    panel_.nameBox()->clear();
    preview_.setYaw(0);
    preview_.placeMarker();
}

} // namespace qm::app
