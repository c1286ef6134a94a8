#pragma once
// Reads a project file, lets a command change the project, and writes it back
// in one step; the shared frame of the project-editing subcommands.

#include "model/Project.h"

#include <functional>
#include <string>

namespace qm::cli {

// The change returns an exit code; the file is written only when it returns
// kOk. File failures print "<command>: <path>: <reason>" and give kFileSystem.
int editProject(const std::string& command, const std::string& path,
                const std::function<int(Project&)>& change);

} // namespace qm::cli
