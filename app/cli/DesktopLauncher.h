#pragma once
// Opens the desktop window from the command line by loading its module.

#include <filesystem>
#include <optional>
#include <string>

namespace qm::cli {

// Where the window's module is looked for: beside the running executable.
std::filesystem::path desktopModulePath();

// Loads the module and runs the window until it closes; returns the exit
// code, kFileSystem with a message on standard error when the module cannot
// be loaded.
int launchDesktop(int argc, char** argv, const std::optional<std::string>& fileToOpen);

} // namespace qm::cli
