#include "app/DigitKeysOnly.h"

#include <QKeyEvent>

namespace qm::app {

namespace {
bool typesNonDigit(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const QString text = key.text();
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c.isPrint() && !c.isDigit()) {
            return true;
        }
    }
    return false;
}
} // namespace

bool DigitKeysOnly::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && typesNonDigit(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qm::app
