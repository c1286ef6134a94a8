#pragma once
// `quillmark info PROJECT.pp5`: shows a project file for a person.

#include "app/cli/CliCommand.h"

namespace qm::cli {

CliCommand addInfoCommand(CLI::App& app);

} // namespace qm::cli
