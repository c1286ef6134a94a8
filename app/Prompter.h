#pragma once
// Every modal question, message, file or colour dialog and modal window of the
// desktop goes through this interface, so tests can answer them without a person.

#include <QColor>
#include <QString>
#include <QStringList>

#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QColorDialog;
class QProgressDialog;
class QWidget;
class QDialog;

namespace qm::app {

enum class MessageIcon { Information, Warning };

// One entry of a file dialog's type list.
struct FileFilter {
    QString description;
    QString pattern; // "*.mp4;*.webm"
};

struct FileDialogRequest {
    QString title;
    QString proposedName;
    QString initialFolder;
    std::vector<FileFilter> filters;
    bool save = false;
};

using CustomColours = std::array<QColor, 16>;

enum class SaveChoice { Save, Discard, Cancel };

class Prompter {
  public:
    virtual ~Prompter() = default;

    // OK/Cancel question with the exclamation icon; true for OK.
    virtual bool confirm(QWidget* owner, const QString& caption, const QString& text) = 0;
    // A message with an OK button.
    virtual void inform(QWidget* owner, MessageIcon icon, const QString& caption,
                        const QString& text) = 0;
    // Save, Don't save or Cancel, asked before unsaved work would be lost.
    virtual SaveChoice askToSave(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The chosen full path, or nullopt when the dialog was cancelled.
    virtual std::optional<QString> chooseFile(QWidget* owner, const FileDialogRequest& request) = 0;
    // Opens a colour dialog without an owner, so the window stays usable; calls
    // done with the chosen colour (nullopt when cancelled) and the custom
    // colours as the dialog left them.
    using ColourDone = std::function<void(std::optional<QColor>, const CustomColours&)>;
    virtual void pickColour(const QString& title, const QColor& initial,
                            const CustomColours& custom, ColourDone done) = 0;
    // Closes every colour dialog still open (as cancelled): they have no
    // owner, so nothing else would close them when the window goes.
    virtual void closeColourDialogs() = 0;
    // Shows a modal window of ours (quick help, About) until it is closed.
    virtual void showModal(QDialog& dialog) = 0;
    // A progress dialog with Cancel for long work: shown (when the work
    // lasts) from the first call, closed when done reaches total. False once
    // the person pressed Cancel.
    virtual bool progress(QWidget* owner, const QString& label, std::uint64_t done,
                          std::uint64_t total) = 0;
};

// The real dialogs: QMessageBox, QFileDialog, QColorDialog, QDialog::exec.
class QtPrompter final : public Prompter {
  public:
    bool confirm(QWidget* owner, const QString& caption, const QString& text) override;
    void inform(QWidget* owner, MessageIcon icon, const QString& caption,
                const QString& text) override;
    SaveChoice askToSave(QWidget* owner, const QString& caption, const QString& text) override;
    std::optional<QString> chooseFile(QWidget* owner, const FileDialogRequest& request) override;
    void pickColour(const QString& title, const QColor& initial, const CustomColours& custom,
                    ColourDone done) override;
    void closeColourDialogs() override;
    void showModal(QDialog& dialog) override;
    bool progress(QWidget* owner, const QString& label, std::uint64_t done,
                  std::uint64_t total) override;

  private:
    std::vector<QPointer<QColorDialog>> colourDialogs_;
    QPointer<QProgressDialog> progress_;
};

// "Description (pattern)" lines as QFileDialog wants them; a description that
// already names its pattern in parentheses is used as it is.
QStringList nameFilters(const std::vector<FileFilter>& filters);

} // namespace qm::app
