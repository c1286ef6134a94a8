#pragma once
// A drop-down list of the options panel. Closed, it is a flat field in its
// palette's colours with an arrow button. Open, its list hangs below the field
// and, together with the field, takes at most the list's drop-down height: it
// shows the whole rows that fit there and scrolls through the rest. The wheel
// turns its choice only while it has the keyboard focus, so that a wheel turn
// passing over a list cannot change an option unnoticed.

#include <QComboBox>

namespace qm::app {

class DropList : public QComboBox {
  public:
    enum class ScrollBar { AsNeeded, Never };

    DropList(int dropHeight, ScrollBar scrollBar, QWidget* parent);

    void showPopup() override;

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    // Rows the open list shows at once: the whole rows that fit between the
    // field's bottom and the drop-down height, at least one.
    int visibleRows() const;

    int dropHeight_;
};

} // namespace qm::app
