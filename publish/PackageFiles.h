#pragma once
// The file operations a publication adds to the shared file layer: checks of
// the paths it reads and writes, folders, video copies made of pieces and the
// removal of temporary files a killed publication left. Package files are written with
// writeFileAtomically, so a reader never sees half a file and an older,
// longer file leaves no trailing bytes. Failures come back as values naming
// the path and the reason.

#include "persist/FileIo.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A byte range of a source file, or bytes held in memory (source empty).
struct FilePiece {
    std::filesystem::path source;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::string bytes;

    std::uint64_t size() const { return source.empty() ? bytes.size() : length; }
};

// Bytes done so far of one copy; returning false cancels it.
using ByteProgress = std::function<bool(std::uint64_t done)>;

enum class AssembleStatus { Done, Failed, Cancelled };
struct AssembleResult {
    AssembleStatus status = AssembleStatus::Done;
    std::optional<FileError> error; // when Failed
};

inline constexpr std::string_view kEndedEarly = "the file ended early (it changed while copied)";

// A fresh name beside target for a copy being made: NAME.qmtmp- and twelve
// hex digits, the name shortened when both would not fit.
std::filesystem::path copyTemporaryBeside(const std::filesystem::path& target);

// Creates target, which must not exist yet, from the pieces in order through
// the kernel's copy path, a few megabytes per call so that progress moves and
// a copy can be cancelled; the data never passes through this process where
// the kernel can copy between the two files. A failure or a cancel removes
// target again. A failure names the file at fault: a source that cannot be
// read or ended early, the target when it cannot be written (a full disk is
// the target's).
AssembleResult assembleFile(const std::filesystem::path& target,
                            const std::vector<FilePiece>& pieces, const ByteProgress& progress);

// Removes, from the folder itself (not below it), the temporary files of
// this tool that a killed publication or save left: NAME.qmtmp- copies and
// NAME.tmp- writes.
void removeLeftoverTemporaries(const std::filesystem::path& folder);

} // namespace qm
