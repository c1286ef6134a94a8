#pragma once
// How the videos go into a package: each copy is planned as a list of pieces
// (byte ranges of the source, or bytes held in memory), assembled under a
// temporary name beside its target with progress reported, and renamed into
// place only when the whole package is written.

#include "publish/PackageFiles.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct VideoCopyPlan {
    std::vector<FilePiece> pieces;
    // An MP4 or QuickTime file whose index followed its media data: the copy
    // has the index first, so a browser can start before the whole file is there.
    bool indexMoved = false;
    // A QuickTime file with H.264 video and AAC sound (or none): browsers
    // play it when the page names it video/mp4, and refuse video/quicktime.
    bool servedAsMp4 = false;

    std::uint64_t bytes() const;
};

// The largest index the copy holds in memory to move it; larger ones are
// copied as they are.
inline constexpr std::uint64_t kMaxMovedIndexBytes = 256ull * 1024 * 1024;

// Reads the source's box headers and index (never its media data). A file
// that is not MP4 or QuickTime, or whose index cannot be moved, is one piece:
// the whole file.
VideoCopyPlan planVideoCopy(const std::filesystem::path& source);

// Files made under temporary names, renamed over their targets together by
// commit(). Whatever is not committed is removed when this ends.
class StagedFiles {
  public:
    StagedFiles() = default;
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    void add(std::filesystem::path temporary, std::filesystem::path target);
    // Renames every file into place in the order added; stops at the first failure.
    std::optional<FileError> commit();

  private:
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> files_;
};

} // namespace qm
