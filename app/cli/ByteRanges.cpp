#include "app/cli/ByteRanges.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace qm::cli {
namespace {

constexpr std::uint64_t kNoEnd = std::numeric_limits<std::uint64_t>::max();
// Ranges closer than this are sent as one: the gap costs less than the
// header of one more part.
constexpr std::uint64_t kMergeGap = 96;

std::string_view trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool isBytesUnit(std::string_view unit) {
    constexpr std::string_view bytes = "bytes";
    return unit.size() == bytes.size() &&
           std::equal(unit.begin(), unit.end(), bytes.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

// 1*DIGIT; a number too large for 64 bits reads as the largest one.
std::optional<std::uint64_t> number(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        value = value > (kNoEnd - digit) / 10 ? kNoEnd : value * 10 + digit;
    }
    return value;
}

// One range-spec: first-pos "-" [last-pos], or "-" suffix-length (no first).
struct RangeSpec {
    std::optional<std::uint64_t> first;
    std::uint64_t lastOrSuffix = kNoEnd;
};

std::optional<RangeSpec> parseSpec(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view firstText = text.substr(0, dash);
    const std::string_view lastText = text.substr(dash + 1);
    const std::optional<std::uint64_t> last = number(lastText);
    if (firstText.empty()) {
        return last ? std::optional(RangeSpec{std::nullopt, *last}) : std::nullopt;
    }
    const std::optional<std::uint64_t> first = number(firstText);
    if (!first || (!lastText.empty() && (!last || *last < *first))) {
        return std::nullopt;
    }
    return RangeSpec{first, last.value_or(kNoEnd)};
}

std::optional<ByteRange> fitted(const RangeSpec& spec, std::uint64_t size) {
    if (!spec.first) {
        if (spec.lastOrSuffix == 0 || size == 0) {
            return std::nullopt;
        }
        return ByteRange{size - std::min(spec.lastOrSuffix, size), size - 1};
    }
    if (*spec.first >= size) {
        return std::nullopt;
    }
    return ByteRange{*spec.first, std::min(spec.lastOrSuffix, size - 1)};
}

std::vector<ByteRange> merged(std::vector<ByteRange> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const ByteRange& a, const ByteRange& b) { return a.first < b.first; });
    std::vector<ByteRange> out;
    for (const ByteRange& range : ranges) {
        if (!out.empty() && range.first <= out.back().last + kMergeGap + 1) {
            out.back().last = std::max(out.back().last, range.last);
        } else {
            out.push_back(range);
        }
    }
    return out;
}

} // namespace

RangePlan planRanges(std::string_view field, std::uint64_t fileSize) {
    const std::size_t equals = field.find('=');
    if (equals == std::string_view::npos || !isBytesUnit(field.substr(0, equals))) {
        return {};
    }
    std::string_view set = field.substr(equals + 1);
    std::vector<ByteRange> ranges;
    bool anySpec = false;
    while (true) {
        const std::size_t comma = set.find(',');
        // Empty list elements are allowed and skipped.
        if (const std::string_view element = trimmed(set.substr(0, comma)); !element.empty()) {
            const std::optional<RangeSpec> spec = parseSpec(element);
            if (!spec) {
                return {};
            }
            anySpec = true;
            if (const std::optional<ByteRange> range = fitted(*spec, fileSize)) {
                ranges.push_back(*range);
            }
        }
        if (comma == std::string_view::npos) {
            break;
        }
        set.remove_prefix(comma + 1);
    }
    if (!anySpec) {
        return {};
    }
    if (ranges.empty()) {
        return {RangeVerdict::Unsatisfiable, {}};
    }
    ranges = merged(std::move(ranges));
    if (ranges.size() > kMaxRangeParts) {
        return {};
    }
    return {RangeVerdict::Partial, std::move(ranges)};
}

std::string contentRangeText(const ByteRange& range, std::uint64_t fileSize) {
    return "bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) + "/" +
           std::to_string(fileSize);
}

MultipartBody::MultipartBody(const std::vector<ByteRange>& ranges, std::uint64_t fileSize,
                             std::string_view partType, std::string boundary)
    : boundary_(std::move(boundary)) {
    std::string separator = "--" + boundary_ + "\r\n";
    for (const ByteRange& range : ranges) {
        add(separator + "Content-Type: " + std::string(partType) +
            "\r\nContent-Range: " + contentRangeText(range, fileSize) + "\r\n\r\n");
        add(range);
        separator = "\r\n--" + boundary_ + "\r\n";
    }
    add("\r\n--" + boundary_ + "--\r\n");
}

void MultipartBody::add(std::variant<std::string, ByteRange> content) {
    const std::uint64_t length = std::holds_alternative<std::string>(content)
                                     ? std::get<std::string>(content).size()
                                     : std::get<ByteRange>(content).length();
    pieces_.push_back({size_, std::move(content)});
    size_ += length;
}

std::string MultipartBody::contentType() const {
    return "multipart/byteranges; boundary=" + boundary_;
}

std::size_t MultipartBody::read(std::uint64_t at, std::span<char> into,
                                const FileReader& readFile) const {
    auto piece =
        std::upper_bound(pieces_.begin(), pieces_.end(), at,
                         [](std::uint64_t offset, const Piece& p) { return offset < p.start; });
    if (piece == pieces_.begin()) {
        return 0;
    }
    --piece;
    std::size_t done = 0;
    for (; piece != pieces_.end() && done < into.size(); ++piece) {
        const std::uint64_t skip = at + done - piece->start;
        if (const auto* text = std::get_if<std::string>(&piece->content)) {
            const std::size_t n = std::min<std::size_t>(text->size() - skip, into.size() - done);
            std::copy_n(text->data() + skip, n, into.data() + done);
            done += n;
        } else {
            const ByteRange& range = std::get<ByteRange>(piece->content);
            const std::size_t n = static_cast<std::size_t>(
                std::min<std::uint64_t>(range.length() - skip, into.size() - done));
            const std::size_t got = readFile(range.first + skip, into.subspan(done, n));
            done += got;
            if (got < n) {
                break;
            }
        }
    }
    return done;
}

} // namespace qm::cli
