#include "app/DropList.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <QWheelEvent>
#include <qdrawutil.h>

#include <algorithm>

namespace qm::app {

namespace {

// The application style paints the closed field as a shaded button and opens
// the list over the field with every item; these lists are flat and hang below.
class FlatListStyle final : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        if (control != CC_ComboBox || box == nullptr) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QPalette& palette = box->palette;
        const QBrush face = palette.brush(QPalette::Button);
        qDrawShadePanel(painter, box->rect, palette, true, 1, &face);
        const QRect arrow = subControlRect(CC_ComboBox, box, SC_ComboBoxArrow, widget)
                                .intersected(box->rect.adjusted(1, 1, -1, -1));
        const bool pressed =
            (box->activeSubControls & SC_ComboBoxArrow) != 0 && (box->state & State_Sunken) != 0;
        qDrawShadePanel(painter, arrow, palette, pressed, 1, &face);
        QStyleOption arrowOption(*box);
        arrowOption.rect = arrow;
        proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrowOption, painter, widget);
        if (hasFocus(*box)) {
            painter->fillRect(focusField(*box, widget), palette.brush(QPalette::Highlight));
        }
    }

    // The focused list shows its choice selected, as the highlighted field.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        if (element != CE_ComboBoxLabel || box == nullptr || !hasFocus(*box)) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionComboBox selected(*box);
        const QColor text = box->palette.color(QPalette::HighlightedText);
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText}) {
            selected.palette.setColor(role, text);
        }
        painter->save();
        painter->setPen(text);
        QProxyStyle::drawControl(element, &selected, painter, widget);
        painter->restore();
    }

  private:
    static bool hasFocus(const QStyleOptionComboBox& box) {
        return (box.state & State_HasFocus) != 0;
    }

    QRect focusField(const QStyleOptionComboBox& box, const QWidget* widget) const {
        return subControlRect(CC_ComboBox, &box, SC_ComboBoxEditField, widget)
            .adjusted(1, 1, -1, -1);
    }
};

} // namespace

DropList::DropList(int dropHeight, ScrollBar scrollBar, QWidget* parent)
    : QComboBox(parent), dropHeight_(dropHeight) {
    // Owned by the list; the widget holds its style through a guarded pointer.
    auto* style = new FlatListStyle;
    style->setParent(this);
    setStyle(style);
    // Not wheel focus: a wheel turn over a list must not take the focus on its way.
    setFocusPolicy(Qt::StrongFocus);
    view()->setVerticalScrollBarPolicy(scrollBar == ScrollBar::Never ? Qt::ScrollBarAlwaysOff
                                                                     : Qt::ScrollBarAsNeeded);
}

int DropList::visibleRows() const {
    QAbstractItemView* items = view();
    const int rowHeight = count() > 0 ? items->sizeHintForRow(0) : 0;
    if (rowHeight <= 0) {
        return 1;
    }
    const QMargins outer = items->parentWidget()->contentsMargins();
    const QMargins inner = items->contentsMargins();
    const int frames = outer.top() + outer.bottom() + inner.top() + inner.bottom();
    return std::max(1, (dropHeight_ - height() - frames) / rowHeight);
}

void DropList::showPopup() {
    setMaxVisibleItems(visibleRows());
    QComboBox::showPopup();
}

void DropList::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore(); // the panel behind the list gets it
        return;
    }
    QComboBox::wheelEvent(event);
}

} // namespace qm::app
