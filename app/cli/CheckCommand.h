#pragma once
// `quillmark check VIDEO... [--json]`: what each video holds and what will go
// wrong with it on the web.

#include "app/cli/CliCommand.h"

namespace qm::cli {

CliCommand addCheckCommand(CLI::App& app);

} // namespace qm::cli
