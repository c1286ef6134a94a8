#pragma once
// The behaviour of the hot spot controls: choosing a slot, showing it (with
// the preview sought to its moment), adding the hot spot at the preview's
// position and the slider's angle, deleting one or all, and choosing a row's
// icon. It works on the window's store and keeps `currentSlot`.

#include "model/HotSpotTable.h"

#include <QCursor>
#include <QObject>

#include <cstdint>
#include <string>

class QWidget;

namespace qm::preview {
class PreviewArea;
}

namespace qm::app {

class HotSpotPanel;
class OptionsStore;
class Prompter;

class HotSpotEditor : public QObject {
    Q_OBJECT

  public:
    HotSpotEditor(HotSpotPanel& panel, preview::PreviewArea& preview, OptionsStore& store,
                  Prompter& prompter, QWidget* owner, QCursor cursor);

    // 0 (none) or 1..10.
    int currentSlot() const { return currentSlot_; }

    // Makes slot n current (0 for none), its selector the only one set, and shows it.
    void selectSlot(int n);
    // Puts record s into the boxes and the slider; a used slot also gets its
    // row's displays and the preview paused at its moment.
    void showSlot(int s);
    // Store the current slot from the boxes, the slider and the preview's position.
    void addHotSpot();
    void deleteHotSpot();
    void deleteAllHotSpots();
    // After a project was loaded: every slot shown in turn, then no slot current.
    void showLoadedProject();
    // The icon chooser for row n; a second one never opens inside the first.
    void chooseIcon(int slot);

  private:
    void showRowDisplays(int slot);
    void resetRowDisplays(int slot);
    void clearBoxesAndCentreYaw();
    void seekAndHold(double position);
    void refuse(StoreRefusal refusal);
    // A name longer than its field is stored cut; the person is told what was kept.
    void warnIfCut(const std::string& typed, const std::string& stored);

    HotSpotPanel& panel_;
    preview::PreviewArea& preview_;
    OptionsStore& store_;
    Prompter& prompter_;
    QWidget* owner_;
    QCursor cursor_;
    int currentSlot_ = 1;
    bool chooserOpen_ = false;
};

} // namespace qm::app
