#pragma once
// `quillmark publish PROJECT.pp5 OUTPUT.html [...]`: publishes a project
// file's package without the desktop window.

#include "app/cli/CliCommand.h"

namespace qm::cli {

CliCommand addPublishCommand(CLI::App& app);

} // namespace qm::cli
