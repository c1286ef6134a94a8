#pragma once
// File operations of a publication. Every file is written to a temporary
// name in its own folder and renamed into place, so a reader never sees half
// a file and an older, longer file leaves no trailing bytes. Failures come
// back as values naming the path and the reason.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qm {

struct FileFailure {
    std::string path;
    std::string reason;
    bool operator==(const FileFailure&) const = default;
};

// nullopt means done.
using FileResult = std::optional<FileFailure>;

FileResult writeFileReplacing(const std::filesystem::path& path, std::span<const std::byte> bytes);
FileResult writeFileReplacing(const std::filesystem::path& path, std::string_view text);

// Creates the folder (and missing parents) unless it is already a folder.
FileResult ensureFolder(const std::filesystem::path& folder);

// Copies a file through the kernel's copy path into a temporary name beside
// the target and renames it over an older file. When the target already is
// the source (same device and inode) nothing is done.
FileResult copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Whole content of a file.
struct ReadResult {
    std::string bytes;
    FileResult failure;
};
ReadResult readWholeFile(const std::filesystem::path& path);

} // namespace qm
