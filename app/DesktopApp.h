#pragma once
// Starts the desktop: the Qt application, the main window with the options
// file applied, and the event loop until the window closes.

#include <optional>
#include <string>

namespace qm::app {

// fileToOpen: a ".pp5" project or a video file to load as video 1.
// Returns the process exit code.
int runDesktop(int argc, char** argv, const std::optional<std::string>& fileToOpen);

// What runDesktop does before QApplication exists: the media back end.
void prepareEnvironment();
// Fonts and style every window of ours expects (Times New Roman and the dialog font).
void prepareApplication();

} // namespace qm::app
