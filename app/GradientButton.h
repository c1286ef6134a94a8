#pragma once
// An owner-drawn command button: the family's gradient under a white caption,
// and "Process" in blue on a sunken edge while it is held down.

#include "ui/Gradient.h"

#include <QAbstractButton>

namespace qm::app {

class GradientButton : public QAbstractButton {
    Q_OBJECT

  public:
    GradientButton(const QString& caption, ui::GradientFamily family, QWidget* parent);

    ui::GradientFamily family() const { return family_; }
    // The area inside the one-pixel static edge, where the gradient goes.
    QRect clientRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintGradient(QPainter& painter, const QRect& client) const;
    void paintPressed(QPainter& painter, const QRect& client) const;
    void paintStaticEdge(QPainter& painter) const;

    ui::GradientFamily family_;
};

} // namespace qm::app
