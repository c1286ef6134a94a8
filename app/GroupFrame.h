#pragma once
// A group frame: an etched rectangle with its caption on a filled strip over
// the top line; the inside lets the window show through.

#include <QWidget>

namespace qm::app {

class GroupFrame : public QWidget {
    Q_OBJECT

  public:
    GroupFrame(const QString& caption, QWidget* parent);
    QString caption() const { return caption_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
};

} // namespace qm::app
