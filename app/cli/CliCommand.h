#pragma once
// A subcommand of the command line: its CLI11 node and what runs it once the
// arguments are parsed. Exit codes: 0 done, 1 stopped by a check, 2 usage,
// 3 a file-system failure.

#include <CLI/CLI.hpp>

#include <functional>

namespace qm::cli {

enum ExitCode : int { kOk = 0, kStopped = 1, kUsage = 2, kFileSystem = 3 };

struct CliCommand {
    CLI::App* node = nullptr;
    std::function<int()> run;
};

} // namespace qm::cli
