#pragma once
// The file operations a publication adds to the shared file layer: checks of
// the paths it reads and writes, folders, video copies and the removal of
// temporary files a killed publication left. Package files are written with
// writeFileAtomically, so a reader never sees half a file and an older,
// longer file leaves no trailing bytes. Failures come back as values naming
// the path and the reason.

#include "persist/FileIo.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace qm {

// nullopt means done.
using FileResult = std::optional<FileError>;

inline constexpr std::string_view kNotRegularFile = "not a regular file";
inline constexpr std::string_view kFolderInTheWay = "a folder of that name exists";

// Whether a video can be copied: an error naming it when it is missing,
// unreadable, or a folder, a device or a pipe ("not a regular file").
FileResult checkSourceFile(const std::filesystem::path& path);

enum class PathKind { File, Folder };

// Whether publishing can later write this file or make this folder: every
// name in it fits, nothing of the other kind (a folder where a file goes, a
// file where a folder goes) stands in its place, and no file there was made
// read-only.
FileResult checkOutputPath(const std::filesystem::path& path, PathKind kind);

// Creates the folder (and missing parents) unless it is already a folder.
FileResult ensureFolder(const std::filesystem::path& folder);

// Copies a file through the kernel's copy path into a temporary name beside
// the target and renames it over an older file. When the target already is
// the source (same device and inode) nothing is done. A failure names the
// file at fault: the source when it cannot be read, the target when it
// cannot be written (a full disk is the target's).
FileResult copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes, from the folder itself (not below it), the temporary files of
// this tool that a killed publication or save left: NAME.qmtmp- copies and
// NAME.tmp- writes.
void removeLeftoverTemporaries(const std::filesystem::path& folder);

} // namespace qm
