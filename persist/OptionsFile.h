#pragma once
// The options file: the options block alone, kept between runs of the tool.

#include "model/Project.h"
#include "persist/FileIo.h"
#include "persist/OptionsBlock.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// A message the window shows in a box with an OK button.
struct UserMessage {
    std::string_view caption;
    std::string_view text;
};

inline constexpr UserMessage kNoVideoMessage{
    "Information:", "You need to choose any video file, then you can save a parameters"};

// Where the options file lives. Portable use keeps it beside the executable
// (the executable's name with ".ini") when that folder is writable; otherwise
// it goes to the user's config folder ($XDG_CONFIG_HOME, else ~/.config)
// as quillmark/quillmark.ini.
struct OptionsFileLocation {
    std::filesystem::path writePath;
    // The file to read at start-up: the first of writePath and the other
    // place that holds a file; nullopt when neither does.
    std::optional<std::filesystem::path> readPath;
};

// The same with every outside fact passed in (for tests and for the app).
// configHome is $XDG_CONFIG_HOME (empty when unset), home is $HOME.
OptionsFileLocation optionsFileLocation(const std::filesystem::path& executablePath,
                                        bool executableFolderWritable, std::string_view configHome,
                                        std::string_view home);

// Looks at the environment and probes the executable's folder for writing.
// An installed executable never writes beside itself, so its options always
// go to the configuration folder.
OptionsFileLocation optionsFileLocation(const std::filesystem::path& executablePath,
                                        bool installed = false);

struct OptionsReadResult {
    bool applied = false;           // false: no file, or it could not be read
    std::optional<FileError> error; // set when a file is there but could not be read
};

// Reads the file and applies its options block. Nothing changes unless the
// whole file was read. A missing file is no error.
OptionsReadResult readOptionsFile(const std::filesystem::path& path, PlayerOptions& options,
                                  std::string_view currentDir);

// The bytes writeOptionsFile writes (the 37-line options block).
EncodedText optionsFileText(const PlayerOptions& options);

struct OptionsWriteResult {
    bool written = false;
    // The no-video refusal, set only when the user asked for the save.
    std::optional<UserMessage> message;
    std::optional<FileError> error;
    // Fields whose text holds tag text: a later read gives them otherwise.
    std::vector<std::string> tagTextFields;
};

// Writes the options file unless VIDEO1 (trimmed) is empty, in which case the
// file is left as it is and, when askedByUser, kNoVideoMessage is returned.
// Creates the file's folder when it is missing. The file is replaced in one
// step: a failed write leaves the old file as it was.
OptionsWriteResult writeOptionsFile(const std::filesystem::path& path, const Project& project,
                                    bool askedByUser);

} // namespace qm
