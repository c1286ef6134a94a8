#pragma once
// `quillmark serve DIR [--port N]`: serves a published package on 127.0.0.1
// with byte ranges, so that the browser can seek in the video.

#include "app/cli/CliCommand.h"

namespace qm::cli {

CliCommand addServeCommand(CLI::App& app);

} // namespace qm::cli
