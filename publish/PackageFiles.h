#pragma once
// The file operations a publication adds to the shared file layer: folders
// and video copies. Package files are written with writeFileAtomically, so a
// reader never sees half a file and an older, longer file leaves no trailing
// bytes. Failures come back as values naming the path and the reason.

#include "persist/FileIo.h"

#include <filesystem>
#include <optional>

namespace qm {

// nullopt means done.
using FileResult = std::optional<FileError>;

// Creates the folder (and missing parents) unless it is already a folder.
FileResult ensureFolder(const std::filesystem::path& folder);

// Copies a file through the kernel's copy path into a temporary name beside
// the target and renames it over an older file. When the target already is
// the source (same device and inode) nothing is done.
FileResult copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace qm
