#pragma once

namespace qm::cli {

// Parses the arguments and runs the chosen subcommand; returns the exit code.
int run(int argc, char** argv);

} // namespace qm::cli
