#pragma once
// Whole-file reads and replace-in-one-step writes, with failures carried as
// values that name the path and the reason.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qm {

struct FileError {
    std::string path;
    std::string reason;
    bool operator==(const FileError&) const = default;
};

// The options and project files are a few kilobytes; anything above this is
// not one of them and is refused before it is read into memory.
inline constexpr std::size_t kMaxTextFileBytes = 1024 * 1024;

struct FileRead {
    std::string bytes;              // the whole content when error is empty
    std::optional<FileError> error; // set when nothing could be read
    bool ok() const { return !error; }
};

// Reads the whole file. A missing file, a folder, anything but a regular file
// (a pipe could block for ever), an unreadable file and a file longer than
// maxBytes are errors; nothing partial is returned.
FileRead readWholeFile(const std::filesystem::path& path, std::size_t maxBytes = kMaxTextFileBytes);

// Writes the bytes to a temporary file in the same folder and renames it over
// the target, so the target holds either its old content or the new one,
// never a part. An existing target's permissions are kept. On failure the
// temporary file is removed and the target is untouched.
std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::string_view bytes);
std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::span<const std::byte> bytes);

// As writeFileAtomically, and on the disk when it returns: the new content is
// flushed before the rename and the folder after it, so that a power cut
// leaves the old file or the new one, never an empty one. For the options
// and project files, which a person cannot make again.
std::optional<FileError> writeFileDurably(const std::filesystem::path& path,
                                          std::string_view bytes);

// The longest file name (one path component) the file systems take, in bytes.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// The target's path with the suffix added to its file name, the name first
// shortened when both would not fit in kMaxFileNameBytes: any name that fits
// can be written through a temporary file.
std::filesystem::path temporaryPathBeside(const std::filesystem::path& target,
                                          std::string_view suffix);

// Whether a file name is one that writeFileAtomically gives its temporary
// file beside the target (NAME.tmp- and eight letters or digits); such a file
// outlives a write only when the process was killed during it.
bool isTemporaryFileName(std::string_view name);

// Refuses a file that exists but may not be written (made read-only), as a
// plain write would; the replacing writes would otherwise rename over it.
// A file without any write permission is refused for root too.
std::optional<FileError> refuseUnwritableFile(const std::filesystem::path& path);

// Writes all the bytes to an open file, again after an interrupted write.
// Returns 0, or the errno of the failure (EIO for a write that made no
// progress, which would otherwise repeat for ever).
int writeAllBytes(int fd, std::string_view bytes);

// The path as UTF-8 text for messages and files.
std::string pathText(const std::filesystem::path& path);

} // namespace qm
