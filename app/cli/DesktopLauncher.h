#pragma once
// Opens the desktop window from the command line by loading its module.

#include <optional>
#include <string>

namespace qm::cli {

// Loads the module and runs the window until it closes; returns the exit
// code, kFileSystem with a message on standard error when the module cannot
// be loaded.
int launchDesktop(int argc, char** argv, const std::optional<std::string>& fileToOpen);

} // namespace qm::cli
