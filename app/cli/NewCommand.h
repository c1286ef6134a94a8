#pragma once
// `quillmark new PROJECT.pp5 VIDEO1 [VIDEO2 [VIDEO3]]`: writes a project with
// default options for one video.

#include "app/cli/CliCommand.h"

namespace qm::cli {

CliCommand addNewCommand(CLI::App& app);

} // namespace qm::cli
