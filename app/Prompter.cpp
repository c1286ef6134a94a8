#include "app/Prompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

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

QStringList nameFilters(const std::vector<FileFilter>& filters) {
    QStringList lines;
    for (const FileFilter& filter : filters) {
        QString patterns = filter.pattern;
        patterns.replace(u';', u' ');
        lines << filter.description + QStringLiteral(" (") + patterns + u')';
    }
    return lines;
}

std::optional<QString> QtPrompter::chooseFile(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner, request.title, request.initialFolder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The save dialogs replace an existing file without asking, as the tool always did.
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

void QtPrompter::pickColour(const QColor& initial, const CustomColours& custom, ColourDone done) {
    for (int i = 0; i < static_cast<int>(custom.size()); ++i) {
        QColorDialog::setCustomColor(i, custom[static_cast<std::size_t>(i)]);
    }
    // No owner: the main window keeps taking input while the dialog is open.
    // The dialog deletes itself when closed.
    auto owned = std::make_unique<QColorDialog>(initial);
    QColorDialog* dialog = owned.release();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::NonModal);
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

void QtPrompter::showModal(QDialog& dialog) {
    dialog.exec();
}

} // namespace qm::app
