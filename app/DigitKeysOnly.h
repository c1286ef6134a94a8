#pragma once
// Lets a text box take only digits from the keyboard. Editing keys, shortcuts
// and pasted text pass unchanged, so a pasted "2.5" still arrives whole; a
// typed point or minus sign does not.

#include <QObject>

namespace qm::app {

class DigitKeysOnly : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace qm::app
