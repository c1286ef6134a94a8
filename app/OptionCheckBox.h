#pragma once
// A check box drawn in the window's own style: the caption on
// a filled background, the box on the left or right, an optional static edge.

#include <QCheckBox>

namespace qm::app {

class OptionCheckBox : public QCheckBox {
    Q_OBJECT

  public:
    enum class TextSide { LeftOfBox, RightOfBox };

    OptionCheckBox(const QString& text, TextSide side, bool staticEdge, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    QRect indicatorRect() const;

    TextSide side_;
    bool staticEdge_;
};

} // namespace qm::app
