#pragma once
// The project file (".pp5"): the options block, the three video paths and the
// ten hot spot records, 102 lines with CR LF line ends in Windows-1251, or the
// UTF-8 marker line and the same 102 lines in UTF-8 (see OptionsBlock.h).

#include "model/Project.h"
#include "persist/FileIo.h"
#include "persist/OptionsBlock.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view kProjectExtension = ".pp5";

// The name a typed project name is saved under: ".pp5" is appended unless the
// name (blanks trimmed) already ends with it in any letter case
// ("demo" -> "demo.pp5", "demo.txt" -> "demo.txt.pp5", "DEMO.PP5" stays).
std::string withProjectExtension(std::string_view typedName);

// The bytes writeProjectFile writes, with the fields that need UTF-8 or hold tag text.
EncodedText projectFileText(const Project& project);

struct ProjectWriteResult {
    std::optional<FileError> error;
    // Fields whose text holds tag text, so that a later read gives them
    // otherwise ("HTMLTITLE", "VIDEO1", "HSLINK3", ...).
    std::vector<std::string> tagTextFields;
    bool ok() const { return !error; }
};

// Writes the project in one step (temporary file + rename): a failed write
// leaves an existing file as it was. No video is needed to save a project.
ProjectWriteResult writeProjectFile(const std::filesystem::path& path, const Project& project);

struct ProjectReadResult {
    bool applied = false;           // false: the file could not be read; nothing changed
    std::optional<FileError> error; // why, when applied is false
    // The trimmed VIDEO1 path the window opens and plays next (possibly empty).
    std::string videoToOpen;
};

// Applies a prepared content (see prepareContent) to the project: the
// options block, VIDEO1..3 and all ten slots; a missing tag empties its value.
// Transient settings keep their values. Returns the trimmed VIDEO1 path.
std::string applyProjectContent(std::string_view prepared, Project& project,
                                std::string_view currentDir);

// Reads the file and applies it. The whole file is read first; when that
// fails, the project is left unchanged. currentDir fills an empty LOADDIR
// or SAVEDIR. After a successful read the window selects slot 0 and opens
// videoToOpen.
ProjectReadResult readProjectFile(const std::filesystem::path& path, Project& project,
                                  std::string_view currentDir);

} // namespace qm
