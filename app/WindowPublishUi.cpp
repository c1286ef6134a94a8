#include "app/WindowPublishUi.h"

#include "app/Prompter.h"
#include "app/TickSound.h"
#include "app/VideoFindingsText.h"
#include "model/HotSpotTable.h"
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
                                 TickPlayer& ticks, const media::MediaProbe* probe)
    : owner_(owner), prompter_(prompter), player_(player), ticks_(ticks), probe_(probe) {
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

bool WindowPublishUi::acceptVideos(const VideoPaths& videos) {
    if (probe_ == nullptr) {
        return true;
    }
    QStringList parts;
    for (int number = 1; number <= 3; ++number) {
        if (!videos.path(number).empty()) {
            const QString part = findingsText(media::checkVideo(*probe_, videos.path(number)));
            if (!part.isEmpty()) {
                parts << part;
            }
        }
    }
    if (parts.isEmpty()) {
        return true;
    }
    const NormalCursor normal;
    return prompter_.confirm(owner_, QStringLiteral("Публикация"),
                             parts.join(QStringLiteral("\n\n")) +
                                 QStringLiteral("\n\nПродолжить публикацию?"));
}

bool WindowPublishUi::showProgress(std::uint64_t done, std::uint64_t total) {
    // The label is redrawn a few times a second, not for every step.
    if (done != 0 && done < total && shown_.isValid() && shown_.elapsed() < 150) {
        return prompter_.progress(owner_, {}, done, total);
    }
    shown_.start();
    const QString label = QStringLiteral("Копирование видео: %1 МБ из %2 МБ")
                              .arg(static_cast<double>(done) / 1e6, 0, 'f', 0)
                              .arg(static_cast<double>(total) / 1e6, 0, 'f', 0);
    return prompter_.progress(owner_, label, done, total);
}

} // namespace qm::app
