#pragma once
// `quillmark open FILE`: the desktop window with a project or a video loaded.

#include "app/cli/CliCommand.h"

namespace qm::cli {

CliCommand addOpenCommand(CLI::App& app, int argc, char** argv);

} // namespace qm::cli
