#pragma once
// `quillmark hotspot PROJECT.pp5 SLOT --yaw Y --pos S --time T --link L
// [--title T] [--self] [--icon CODE]` stores a hot spot into a slot as the
// editor's store does; `quillmark hotspot PROJECT.pp5 SLOT --delete` empties it.

#include "app/cli/CliCommand.h"

namespace qm::cli {

CliCommand addHotSpotCommand(CLI::App& app);

} // namespace qm::cli
