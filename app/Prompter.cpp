#include "app/Prompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeView>

#include <memory>

namespace qm::app {

bool QtPrompter::confirm(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    owner);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

void QtPrompter::inform(QWidget* owner, MessageIcon icon, const QString& caption,
                        const QString& text) {
    const QMessageBox::Icon boxIcon =
        icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information;
    QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

SaveChoice QtPrompter::askToSave(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, owner);
    QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return SaveChoice::Save;
    }
    return box.clickedButton() == discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

QStringList nameFilters(const std::vector<FileFilter>& filters) {
    QStringList lines;
    for (const FileFilter& filter : filters) {
        QString patterns = filter.pattern;
        patterns.replace(u';', u' ');
        // The dialog matches names without regard to case, so "(*.MP4)" in a
        // description finds .mp4 files; adding the pattern again would only
        // repeat it.
        const QString named = QStringLiteral("(") + patterns + u')';
        if (filter.description.endsWith(named, Qt::CaseInsensitive)) {
            lines << filter.description;
        } else {
            lines << filter.description + u' ' + named;
        }
    }
    return lines;
}

std::optional<QString> QtPrompter::chooseFile(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner, request.title, request.initialFolder);
    dialog.resize(860, 520);
    // The name takes the room left once size, type and date show whole.
    if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = files->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Saving a project or publishing again over the last one is the usual
    // case, so the save dialogs replace an existing file without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(nameFilters(request.filters));
    if (!request.proposedName.isEmpty() && !request.proposedName.contains(u'*')) {
        dialog.selectFile(request.proposedName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void QtPrompter::pickColour(const QString& title, const QColor& initial,
                            const CustomColours& custom, ColourDone done) {
    for (int i = 0; i < static_cast<int>(custom.size()); ++i) {
        QColorDialog::setCustomColor(i, custom[static_cast<std::size_t>(i)]);
    }
    // No owner: the main window keeps taking input while the dialog is open.
    // The dialog deletes itself when closed.
    auto owned = std::make_unique<QColorDialog>(initial);
    QColorDialog* dialog = owned.release();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setWindowTitle(title);
    std::erase_if(colourDialogs_, [](const QPointer<QColorDialog>& open) { return open.isNull(); });
    colourDialogs_.emplace_back(dialog);
    QObject::connect(dialog, &QColorDialog::finished, dialog,
                     [dialog, done = std::move(done)](int result) {
                         CustomColours after;
                         for (int i = 0; i < static_cast<int>(after.size()); ++i) {
                             after[static_cast<std::size_t>(i)] = QColorDialog::customColor(i);
                         }
                         std::optional<QColor> chosen;
                         if (result == QDialog::Accepted) {
                             chosen = dialog->selectedColor();
                         }
                         done(chosen, after);
                     });
    dialog->show();
}

void QtPrompter::closeColourDialogs() {
    for (const QPointer<QColorDialog>& dialog : colourDialogs_) {
        if (dialog) {
            dialog->close();
        }
    }
    colourDialogs_.clear();
}

void QtPrompter::showModal(QDialog& dialog) {
    dialog.exec();
}

bool QtPrompter::progress(QWidget* owner, const QString& label, std::uint64_t done,
                          std::uint64_t total) {
    constexpr int kSteps = 1000;
    if (!progress_) {
        auto owned =
            std::make_unique<QProgressDialog>(label, QStringLiteral("Отмена"), 0, kSteps, owner);
        progress_ = owned.release(); // owned by the window, deleted when closed
        progress_->setAttribute(Qt::WA_DeleteOnClose);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setAutoReset(false);
        progress_->setMinimumDuration(400);
    }
    const bool cancelled = progress_->wasCanceled();
    if (done >= total || cancelled) {
        progress_->close();
        return !cancelled;
    }
    progress_->setLabelText(label);
    // A modal dialog's setValue also lets the window's events run.
    progress_->setValue(
        static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kSteps));
    return !progress_->wasCanceled();
}

} // namespace qm::app
