#include "app/WindowPublishUi.h"

#include "app/Prompter.h"
#include "app/TickSound.h"
#include "preview/PlayerControl.h"

#include <QCursor>
#include <QGuiApplication>

namespace qm::app {

namespace {
QString shown(std::string_view text) {
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

// The normal cursor while the person is asked something.
class NormalCursor {
  public:
    NormalCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    ~NormalCursor() { QGuiApplication::restoreOverrideCursor(); }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;
};
} // namespace

WindowPublishUi::WindowPublishUi(QWidget* owner, Prompter& prompter, preview::PlayerControl& player,
                                 TickPlayer& ticks)
    : owner_(owner), prompter_(prompter), player_(player), ticks_(ticks) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WindowPublishUi::~WindowPublishUi() {
    QGuiApplication::restoreOverrideCursor();
}

void WindowPublishUi::showMessage(std::string_view caption, std::string_view text,
                                  qm::MessageIcon icon) {
    const NormalCursor normal;
    const MessageIcon boxIcon =
        icon == qm::MessageIcon::Information ? MessageIcon::Information : MessageIcon::Warning;
    prompter_.inform(owner_, boxIcon, shown(caption), shown(text));
}

std::optional<std::string> WindowPublishUi::choosePageFile(const SaveDialogRequest& request) {
    const NormalCursor normal;
    FileDialogRequest dialog;
    dialog.title = shown(request.title);
    dialog.proposedName = shown(request.proposedName);
    dialog.initialFolder = QString::fromStdString(request.startFolder);
    dialog.filters = {{shown(request.filterName), shown(request.filterPattern)}};
    dialog.save = true;
    const std::optional<QString> chosen = prompter_.chooseFile(owner_, dialog);
    if (!chosen) {
        return std::nullopt;
    }
    return chosen->toStdString();
}

void WindowPublishUi::stopPreview() {
    player_.stop();
}

void WindowPublishUi::playTick() {
    ticks_.playTick();
}

} // namespace qm::app
