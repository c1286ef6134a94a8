#pragma once
// The hot spot editor's controls below the preview and the " Hot Spots " frame
// with its ten rows. HotSpotEditor gives them their behaviour.

#include "model/HotSpotTable.h"

#include <QObject>
#include <QPixmap>

#include <array>

class QCheckBox;
class QCursor;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace qm::app {

class GradientButton;

struct HotSpotRow {
    QToolButton* icon = nullptr;
    QCheckBox* selector = nullptr;
    QLabel* yawValue = nullptr;
    QLabel* posValue = nullptr;
    QLineEdit* timeBox = nullptr;
};

class HotSpotPanel : public QObject {
    Q_OBJECT

  public:
    static constexpr int kRows = 10;

    HotSpotPanel(QWidget* client, const QCursor& cursor);

    QLineEdit* linkBox() const { return linkBox_; }
    QLineEdit* nameBox() const { return nameBox_; }
    QCheckBox* selfCheck() const { return selfCheck_; }
    GradientButton* addButton() const { return addButton_; }
    GradientButton* deleteButton() const { return deleteButton_; }
    GradientButton* deleteAllButton() const { return deleteAllButton_; }
    const HotSpotRow& row(int slot) const { return rows_.at(static_cast<std::size_t>(slot - 1)); }

    // "Hot Spot " and the slot number in two digits.
    static QString selectorText(int slot);
    // Picture "arrow" + icon of the window's resources; null when there is none.
    static QPixmap iconPicture(int icon);

    // Row slot's button shows icon code - 200, icon 0 for a code outside 200..234.
    void showIcon(int slot, std::int32_t code);
    void showIcons(const HotSpotIcons& codes);

  signals:
    void addRequested();
    void deleteRequested();
    void deleteAllRequested();
    void slotSelected(int slot);
    void iconRequested(int slot);
    // A click the main window treats as a command (the self switch, a selector).
    void commandIssued();

  private:
    void buildEditor(QWidget* client, const QCursor& cursor);
    void buildRows(QWidget* client, const QCursor& cursor);
    HotSpotRow buildRow(QWidget* client, const QCursor& cursor, int slot);

    QLineEdit* linkBox_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QCheckBox* selfCheck_ = nullptr;
    GradientButton* addButton_ = nullptr;
    GradientButton* deleteButton_ = nullptr;
    GradientButton* deleteAllButton_ = nullptr;
    std::array<HotSpotRow, kRows> rows_{};
};

} // namespace qm::app
