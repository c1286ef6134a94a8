#pragma once
// Stand-ins for the person at the desktop: a prompter that answers every
// question from a script and records what it was asked, a tick counter, and a
// main window built in a temporary folder.

#include "app/MainWindow.h"
#include "app/Prompter.h"
#include "app/TickSound.h"

#include <QTemporaryDir>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qm::test {

struct ShownMessage {
    app::MessageIcon icon;
    QString caption;
    QString text;
};

struct PendingColour {
    QString title;
    QColor initial;
    app::CustomColours custom;
    app::Prompter::ColourDone done;
};

class FakePrompter final : public app::Prompter {
  public:
    bool confirm(QWidget* owner, const QString& caption, const QString& text) override;
    void inform(QWidget* owner, app::MessageIcon icon, const QString& caption,
                const QString& text) override;
    app::SaveChoice askToSave(QWidget* owner, const QString& caption, const QString& text) override;
    std::optional<QString> chooseFile(QWidget* owner,
                                      const app::FileDialogRequest& request) override;
    void pickColour(const QString& title, const QColor& initial, const app::CustomColours& custom,
                    ColourDone done) override;
    void closeColourDialogs() override;
    void showModal(QDialog& dialog) override;
    bool progress(QWidget* owner, const QString& label, std::uint64_t done,
                  std::uint64_t total) override;

    // Answers, taken in order; with none left a question is answered OK and a
    // file dialog is cancelled. A null file answer cancels its dialog.
    std::deque<bool> confirmAnswers;
    // With none left, the save question is answered Cancel.
    std::deque<app::SaveChoice> saveAnswers;
    std::deque<QString> fileAnswers;
    // Runs while a modal window is shown, before it is closed.
    std::function<void(QDialog&)> onModal;

    std::vector<QString> questions;
    std::vector<ShownMessage> messages;
    std::vector<app::FileDialogRequest> fileRequests;
    std::vector<PendingColour> colourDialogs; // still open
    std::vector<QString> modalWindows;        // object names
    // Progress calls as (done, total); the call numbered cancelProgressAt
    // (counting from 1) answers Cancel.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progressCalls;
    std::size_t cancelProgressAt = 0;
};

class CountingTicks final : public app::TickPlayer {
  public:
    void playTick() override { ++count; }
    int count = 0;
};

// A main window whose options file, manual and start folder are in a fresh
// temporary folder.
class WindowFixture {
  public:
    WindowFixture();
    ~WindowFixture();

    // Builds the window; an options file written before this is read.
    app::MainWindow& open();
    app::MainWindow& window() { return *window_; }
    void closeWithoutQuestion();

    QString folder() const { return dir_.path(); }
    std::filesystem::path optionsPath() const;
    std::filesystem::path manualPath() const;

    FakePrompter prompter;
    CountingTicks ticks;
    std::vector<QUrl> openedUrls;

  private:
    QTemporaryDir dir_;
    std::unique_ptr<app::MainWindow> window_;
};

// A short generated clip (H.264, 320 x 160, 25 fps) in the folder; empty on failure.
QString makeClip(const QString& folder, const QString& name, int seconds);

// Widget of the window by object name; fails the test when it is missing.
template <typename T> T* child(QWidget* root, const QString& name) {
    return root->findChild<T*>(name);
}

} // namespace qm::test
