#pragma once
// The Range field of a GET and the answer it asks for: which bytes of a file,
// fitted to the file, and the multipart/byteranges body for several ranges.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm::cli {

// Bytes first to last of a file, both included.
struct ByteRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::uint64_t length() const { return last - first + 1; }
    bool operator==(const ByteRange&) const = default;
};

enum class RangeVerdict {
    Whole,         // no Range field, or one to ignore: 200 with the whole file
    Partial,       // 206 with the ranges
    Unsatisfiable, // 416: no range starts inside the file
};

struct RangePlan {
    RangeVerdict verdict = RangeVerdict::Whole;
    std::vector<ByteRange> ranges; // when Partial: ascending, apart, inside the file
};

// More parts than this after merging are not worth a multipart answer: the
// whole file is sent instead.
inline constexpr std::size_t kMaxRangeParts = 64;

// Reads the field as HTTP says: a unit other than "bytes" (any case) or a
// malformed range set is ignored (Whole); the satisfiable ranges are served
// and the others dropped; ranges that overlap, touch or lie closer than a
// part's own header are merged, so the parts never add up to more than the
// file.
RangePlan planRanges(std::string_view field, std::uint64_t fileSize);

// "bytes 0-99/3000"
std::string contentRangeText(const ByteRange& range, std::uint64_t fileSize);

// Reads file bytes at an offset into the buffer; returns how many were read
// (fewer only at the end of the file or on an error).
using FileReader = std::function<std::size_t(std::uint64_t offset, std::span<char> into)>;

// The body of a 206 answer with several ranges, produced piece by piece.
class MultipartBody {
  public:
    MultipartBody(const std::vector<ByteRange>& ranges, std::uint64_t fileSize,
                  std::string_view partType, std::string boundary);

    std::uint64_t size() const { return size_; }
    std::string contentType() const;

    // Copies body bytes from offset `at` into `into`; returns how many (0 at
    // the end or when the file could not be read).
    std::size_t read(std::uint64_t at, std::span<char> into, const FileReader& readFile) const;

  private:
    struct Piece {
        std::uint64_t start = 0; // offset in the body
        std::variant<std::string, ByteRange> content;
    };
    std::string boundary_;
    std::vector<Piece> pieces_;
    std::uint64_t size_ = 0;
    void add(std::variant<std::string, ByteRange> content);
};

} // namespace qm::cli
