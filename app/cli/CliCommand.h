#pragma once
// A subcommand of the command line: its CLI11 node and what runs it once the
// arguments are parsed. Exit codes (app/module/ExitCodes.h): 0 done, 1
// stopped by a check, 2 usage, 3 a file-system failure.

#include "app/module/ExitCodes.h"

#include <CLI/CLI.hpp>

#include <functional>

namespace qm::cli {

struct CliCommand {
    CLI::App* node = nullptr;
    std::function<int()> run;
};

} // namespace qm::cli
