#include "persist/OptionsFile.h"

#include "model/TextForms.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace qm {
namespace {

namespace fs = std::filesystem;

fs::path besideExecutable(const fs::path& executablePath) {
    fs::path ini = executablePath.parent_path() / executablePath.stem();
    ini += ".ini";
    return ini;
}

fs::path inConfigFolder(std::string_view configHome, std::string_view home) {
    const fs::path base = !configHome.empty() ? fs::path(configHome) : fs::path(home) / ".config";
    return base / "quillmark" / "quillmark.ini";
}

bool holdsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Creating and removing a probe file is the one portable test of write access.
bool folderIsWritable(const fs::path& folder) {
    fs::path probe = folder / ".quillmark-write-probe";
    {
        std::ofstream out(probe, std::ios::binary | std::ios::app);
        if (!out) {
            return false;
        }
    }
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

} // namespace

OptionsFileLocation optionsFileLocation(const fs::path& executablePath,
                                        bool executableFolderWritable, std::string_view configHome,
                                        std::string_view home) {
    const fs::path beside = besideExecutable(executablePath);
    const fs::path config = inConfigFolder(configHome, home);
    OptionsFileLocation location;
    location.writePath = executableFolderWritable ? beside : config;
    const fs::path& other = executableFolderWritable ? config : beside;
    if (holdsFile(location.writePath)) {
        location.readPath = location.writePath;
    } else if (holdsFile(other)) {
        location.readPath = other;
    }
    return location;
}

OptionsFileLocation optionsFileLocation(const fs::path& executablePath, bool installed) {
    return optionsFileLocation(executablePath,
                               !installed && folderIsWritable(executablePath.parent_path()),
                               environment("XDG_CONFIG_HOME"), environment("HOME"));
}

OptionsReadResult readOptionsFile(const fs::path& path, PlayerOptions& options,
                                  std::string_view currentDir) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) {
        return {};
    }
    FileRead read = readWholeFile(path);
    if (!read.ok()) {
        return {false, std::move(read.error)};
    }
    applyOptionsBlock(prepareContent(read.bytes), options, currentDir);
    return {true, std::nullopt};
}

EncodedText optionsFileText(const PlayerOptions& options) {
    EncodedText text;
    writeOptionsBlock(text, options);
    return text;
}

OptionsWriteResult writeOptionsFile(const fs::path& path, const Project& project,
                                    bool askedByUser) {
    OptionsWriteResult result;
    if (trimBlanks(project.videos.path(1)).empty()) {
        if (askedByUser) {
            result.message = kNoVideoMessage;
        }
        return result;
    }
    EncodedText text = optionsFileText(project.options);
    result.tagTextFields = std::move(text.tagTextFields);
    const fs::path folder = path.parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec) {
            result.error = FileError{pathText(path), "cannot create its folder: " + ec.message()};
            return result;
        }
    }
    result.error = writeFileDurably(path, text.bytes);
    result.written = !result.error;
    return result;
}

} // namespace qm
