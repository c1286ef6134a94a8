#pragma once
// The modal grid of the 35 hot spot icons. A click on an icon closes it with
// that icon's code (200 + icon); closing it any other way gives 0.

#include <QDialog>

#include <cstdint>

class QCursor;
class QToolButton;

namespace qm::app {

class IconChooser : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kColumns = 7;
    static constexpr int kIconsWithAppCursor = 21; // the top three rows

    IconChooser(QWidget* owner, const QCursor& cursor);

    // 200 + icon after a pick, 0 while none was picked.
    std::int32_t chosenCode() const { return chosenCode_; }
    QToolButton* iconButton(int icon) const;

    // Where icon k stands: column k mod 7, row k div 7.
    static QRect iconRect(int icon);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void pick(int icon);

    std::int32_t chosenCode_ = 0;
};

} // namespace qm::app
