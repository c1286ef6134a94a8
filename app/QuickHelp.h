#pragma once
// The quick help window: the steps of the work, the main options and the files
// a publication writes. Rebuilt on every opening.

#include <QDialog>

namespace qm::app {

class TickPlayer;

class QuickHelp : public QDialog {
    Q_OBJECT

  public:
    QuickHelp(QWidget* owner, TickPlayer& ticks);

  private:
    void buildHeading();
    void buildOptionRows();
    void buildOutputFiles();
    void buildCloseButton(TickPlayer& ticks);
};

} // namespace qm::app
