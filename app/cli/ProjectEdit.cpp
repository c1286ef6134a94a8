#include "app/cli/ProjectEdit.h"

#include "app/cli/CliCommand.h"
#include "persist/ProjectFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qm::cli {
namespace {

void reportFileError(const std::string& command, const FileError& error) {
    std::fprintf(stderr, "quillmark %s: %s: %s\n", command.c_str(), error.path.c_str(),
                 error.reason.c_str());
}

std::string currentDirText() {
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::current_path(error);
    return error ? std::string() : pathText(dir);
}

} // namespace

int editProject(const std::string& command, const std::string& path,
                const std::function<int(Project&)>& change) {
    Project project;
    const ProjectReadResult read = readProjectFile(path, project, currentDirText());
    if (!read.applied) {
        reportFileError(command, read.error.value_or(FileError{path, "cannot be read"}));
        return kFileSystem;
    }
    if (const int changed = change(project); changed != kOk) {
        return changed;
    }
    const ProjectWriteResult written = writeProjectFile(path, project);
    if (!written.ok()) {
        reportFileError(command, *written.error);
        return kFileSystem;
    }
    return kOk;
}

std::optional<std::string> tagTextRefusal(std::string_view field, std::string_view value) {
    const std::optional<std::string> tagText = tagTextIn(value);
    if (!tagText) {
        return std::nullopt;
    }
    return std::string(field) + " cannot hold \"" + *tagText +
           "\": the project file would read it as a tag";
}

} // namespace qm::cli
