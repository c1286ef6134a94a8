#pragma once
// The box structure of MP4 and QuickTime files, read as far as publishing needs
// it: where the index (the moov box) lies against the media data (mdat), which
// codecs the tracks name, and the index rewritten for a copy that puts it first.
// Only headers and the index are read, never the media data.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct Mp4Box {
    std::uint64_t offset = 0;
    std::uint64_t size = 0; // header included
    std::uint32_t headerSize = 8;
    std::string type; // four characters
};

struct Mp4Layout {
    std::vector<Mp4Box> boxes; // the top-level boxes in file order
    std::uint64_t fileSize = 0;
    bool truncated = false; // the last box runs past the end of the file
};

enum class IndexPlacement { Unknown, First, AtEnd };

// The top-level boxes of the stream; nullopt when its start is not a box
// sequence (not an MP4 or QuickTime file). Reads box headers only.
std::optional<Mp4Layout> readMp4Layout(std::istream& in, std::uint64_t fileSize);
std::optional<Mp4Layout> readMp4Layout(const std::filesystem::path& path);

// First when the moov box comes before the first mdat box, AtEnd when after.
IndexPlacement indexPlacement(const Mp4Layout& layout);

// One track of the index: its handler ("vide", "soun", ...) and the type of
// its first sample description ("avc1", "hvc1", "mp4a", "apcn", ...).
struct Mp4Track {
    std::string handler;
    std::string sampleEntry;
};

// The tracks described by the bytes of a moov box (header included).
std::vector<Mp4Track> mp4Tracks(std::string_view moov);

// A moov box made to stand before the media data: every chunk offset moved by
// what the move shifts, 32-bit tables widened to 64 bits where an offset no
// longer fits. nullopt when the index cannot be moved without loss (a
// compressed or fragmented index, a malformed table).
struct IndexMove {
    std::uint64_t insertAt = 0;  // where the new index goes: the first mdat's offset
    std::uint64_t moovStart = 0; // the old index's place
    std::uint64_t moovSize = 0;
};
std::optional<std::string> movedIndex(std::string_view moov, const IndexMove& move);

// Reads the bytes of the first top-level box of the type, up to maxBytes.
std::optional<std::string> readTopLevelBox(const std::filesystem::path& path,
                                           const Mp4Layout& layout, std::string_view type,
                                           std::uint64_t maxBytes);

} // namespace qm
