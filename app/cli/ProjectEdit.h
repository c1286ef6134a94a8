#pragma once
// Reads a project file, lets a command change the project, and writes it back
// in one step; the shared frame of the project-editing subcommands.

#include "model/Project.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm::cli {

// The change returns an exit code; the file is written only when it returns
// kOk. File failures print "<command>: <path>: <reason>" and give kFileSystem.
int editProject(const std::string& command, const std::string& path,
                const std::function<int(Project&)>& change);

// Why a text cannot be stored: it holds text a project file would read as a
// tag ("</", "<HSPOS1>"), so that this or another value would come back
// otherwise. nullopt when it can be stored.
std::optional<std::string> tagTextRefusal(std::string_view field, std::string_view value);

} // namespace qm::cli
