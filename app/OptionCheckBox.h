#pragma once
// The option rows' check box, drawn by hand because the style draws neither a
// caption on a filled background nor the box on the caption's right: the
// caption on its colour, the box on the left or right, an optional static edge.

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
