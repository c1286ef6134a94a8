#pragma once
// A label that shows a file path, shortening it in the middle with an ellipsis
// when it does not fit, so both the drive/root and the file name stay visible.

#include <QFrame>

namespace qm::app {

class PathLabel : public QFrame {
    Q_OBJECT

  public:
    explicit PathLabel(QWidget* parent);

    QString text() const { return text_; }
    void setText(const QString& text);
    // What fits in the label's width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};

} // namespace qm::app
