#include "publish/Mp4Boxes.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <limits>

namespace qm {
namespace {

constexpr std::size_t kMaxTopLevelBoxes = 100000;
constexpr int kMaxDepth = 16;

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

void appendBigEndian(std::string& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = width; i-- > 0;) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

bool printableType(std::string_view type) {
    return std::all_of(type.begin(), type.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// The boxes a file of this family can start with.
bool knownFirstBox(std::string_view type) {
    constexpr std::array<std::string_view, 9> kFirst = {"ftyp", "moov", "mdat", "free", "skip",
                                                        "wide", "pnot", "uuid", "styp"};
    return std::find(kFirst.begin(), kFirst.end(), type) != kFirst.end();
}

// A box inside a buffer: its bytes (header included) and where its payload starts.
struct InnerBox {
    std::string_view type;
    std::string_view bytes;
    std::size_t headerSize = 8;
    std::string_view payload() const { return bytes.substr(headerSize); }
};

// The next box of the buffer at `at`; nullopt when the bytes there are not a whole box.
std::optional<InnerBox> innerBoxAt(std::string_view buffer, std::size_t at) {
    if (buffer.size() - at < 8) {
        return std::nullopt;
    }
    std::uint64_t size = bigEndian(buffer, at, 4);
    std::size_t header = 8;
    if (size == 1) {
        if (buffer.size() - at < 16) {
            return std::nullopt;
        }
        size = bigEndian(buffer, at + 8, 8);
        header = 16;
    } else if (size == 0) {
        size = buffer.size() - at;
    }
    if (size < header || size > buffer.size() - at) {
        return std::nullopt;
    }
    return InnerBox{buffer.substr(at + 4, 4), buffer.substr(at, static_cast<std::size_t>(size)),
                    header};
}

// Calls visit for every child box; false when the payload is not a box
// sequence (a few trailing bytes, as QuickTime leaves in some atoms, are allowed).
bool forEachChild(std::string_view payload, const std::function<bool(const InnerBox&)>& visit) {
    std::size_t at = 0;
    while (payload.size() - at >= 8) {
        const std::optional<InnerBox> box = innerBoxAt(payload, at);
        if (!box || !visit(*box)) {
            return false;
        }
        at += box->bytes.size();
    }
    return true;
}

std::optional<InnerBox> childOf(std::string_view payload, std::string_view type) {
    std::optional<InnerBox> found;
    forEachChild(payload, [&](const InnerBox& box) {
        if (box.type == type) {
            found = box;
            return false;
        }
        return true;
    });
    return found;
}

std::string handlerOf(std::string_view mdia) {
    const std::optional<InnerBox> hdlr = childOf(mdia, "hdlr");
    // version and flags, pre_defined (QuickTime: component type), handler type
    if (!hdlr || hdlr->payload().size() < 12) {
        return {};
    }
    return std::string(hdlr->payload().substr(8, 4));
}

std::string firstSampleEntry(std::string_view mdia) {
    std::optional<InnerBox> box = childOf(mdia, "minf");
    if (box) {
        box = childOf(box->payload(), "stbl");
    }
    if (box) {
        box = childOf(box->payload(), "stsd");
    }
    // version and flags, entry count, then the entries as boxes
    if (!box || box->payload().size() < 16) {
        return {};
    }
    return std::string(box->payload().substr(12, 4));
}

// Rewrites the index for its new place; `newSize` is the size the new index
// is assumed to have, which decides where the media data lands.
class IndexMover {
  public:
    IndexMover(const IndexMove& move, std::uint64_t newSize) : move_(move), newSize_(newSize) {}

    bool rewrite(const InnerBox& box, int depth, std::string& out) const {
        if (depth > kMaxDepth) {
            return false;
        }
        if (box.type == "stco" || box.type == "co64") {
            return rewriteOffsets(box, out);
        }
        if (!isContainer(box.type)) {
            out.append(box.bytes);
            return true;
        }
        // A compressed or fragmented index holds offsets this rewrite cannot
        // see; such a file is left as it is.
        std::string children;
        const std::string_view payload = box.payload();
        std::size_t at = 0;
        while (payload.size() - at >= 8) {
            const std::optional<InnerBox> child = innerBoxAt(payload, at);
            if (!child || child->type == "cmov" || child->type == "mvex" ||
                !rewrite(*child, depth + 1, children)) {
                return false;
            }
            at += child->bytes.size();
        }
        children.append(payload.substr(at));
        return appendBox(box, children, out);
    }

  private:
    static bool isContainer(std::string_view type) {
        constexpr std::array<std::string_view, 5> kContainers = {"moov", "trak", "mdia", "minf",
                                                                 "stbl"};
        return std::find(kContainers.begin(), kContainers.end(), type) != kContainers.end();
    }

    static bool appendBox(const InnerBox& box, std::string_view payload, std::string& out) {
        const std::uint64_t size = box.headerSize + payload.size();
        if (box.headerSize == 16) {
            appendBigEndian(out, 1, 4);
            out.append(box.type);
            appendBigEndian(out, size, 8);
        } else {
            if (size > std::numeric_limits<std::uint32_t>::max()) {
                return false;
            }
            appendBigEndian(out, size, 4);
            out.append(box.type);
        }
        out.append(payload);
        return true;
    }

    std::optional<std::uint64_t> shifted(std::uint64_t offset) const {
        const std::uint64_t moovEnd = move_.moovStart + move_.moovSize;
        if (offset < move_.insertAt) {
            return offset;
        }
        if (offset < move_.moovStart) {
            return offset + newSize_;
        }
        if (offset < moovEnd) {
            return std::nullopt; // media data inside the index: not a file to touch
        }
        return offset - move_.moovSize + newSize_;
    }

    bool rewriteOffsets(const InnerBox& box, std::string& out) const {
        const std::string_view payload = box.payload();
        const std::size_t width = box.type == "co64" ? 8 : 4;
        if (payload.size() < 8) {
            return false;
        }
        const std::uint64_t count = bigEndian(payload, 4, 4);
        if ((payload.size() - 8) / width < count) {
            return false;
        }
        std::vector<std::uint64_t> offsets;
        offsets.reserve(static_cast<std::size_t>(count));
        bool fits32 = true;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::optional<std::uint64_t> moved =
                shifted(bigEndian(payload, 8 + static_cast<std::size_t>(i) * width, width));
            if (!moved) {
                return false;
            }
            fits32 = fits32 && *moved <= std::numeric_limits<std::uint32_t>::max();
            offsets.push_back(*moved);
        }
        // A 32-bit table whose offsets no longer fit becomes a 64-bit one.
        const std::size_t newWidth = width == 4 && fits32 ? 4 : 8;
        std::string table(payload.substr(0, 8));
        for (const std::uint64_t offset : offsets) {
            appendBigEndian(table, offset, newWidth);
        }
        const std::size_t used = 8 + static_cast<std::size_t>(count) * width;
        table.append(payload.substr(used));
        const InnerBox renamed{newWidth == 8 ? std::string_view("co64") : std::string_view("stco"),
                               box.bytes, box.headerSize};
        return appendBox(renamed, table, out);
    }

    IndexMove move_;
    std::uint64_t newSize_;
};

} // namespace

std::optional<Mp4Layout> readMp4Layout(std::istream& in, std::uint64_t fileSize) {
    Mp4Layout layout;
    layout.fileSize = fileSize;
    std::uint64_t offset = 0;
    while (fileSize - offset >= 8 && layout.boxes.size() < kMaxTopLevelBoxes) {
        std::array<char, 16> header{};
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(header.data(), 8);
        if (!in) {
            break;
        }
        const std::string_view bytes(header.data(), header.size());
        Mp4Box box{offset, bigEndian(bytes, 0, 4), 8, std::string(bytes.substr(4, 4))};
        if (box.size == 1) {
            in.read(header.data() + 8, 8);
            if (!in) {
                layout.truncated = true;
                break;
            }
            box.size = bigEndian(bytes, 8, 8);
            box.headerSize = 16;
        } else if (box.size == 0) {
            box.size = fileSize - offset;
        }
        if (!printableType(box.type) || box.size < box.headerSize ||
            (layout.boxes.empty() && !knownFirstBox(box.type))) {
            // Whatever follows the last whole box is not part of the structure.
            layout.truncated = !layout.boxes.empty();
            break;
        }
        const bool runsPastEnd = box.size > fileSize - offset;
        layout.boxes.push_back(std::move(box));
        if (runsPastEnd) {
            layout.truncated = true;
            break;
        }
        offset += layout.boxes.back().size;
    }
    if (layout.boxes.empty()) {
        return std::nullopt;
    }
    return layout;
}

std::optional<Mp4Layout> readMp4Layout(const std::filesystem::path& path) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        return std::nullopt;
    }
    const std::uint64_t size = std::filesystem::file_size(path, code);
    std::ifstream in(path, std::ios::binary);
    if (code || !in) {
        return std::nullopt;
    }
    return readMp4Layout(in, size);
}

IndexPlacement indexPlacement(const Mp4Layout& layout) {
    const auto moov = std::find_if(layout.boxes.begin(), layout.boxes.end(),
                                   [](const Mp4Box& box) { return box.type == "moov"; });
    if (moov == layout.boxes.end()) {
        return IndexPlacement::Unknown;
    }
    const auto mdat = std::find_if(layout.boxes.begin(), layout.boxes.end(),
                                   [](const Mp4Box& box) { return box.type == "mdat"; });
    return mdat != layout.boxes.end() && mdat < moov ? IndexPlacement::AtEnd
                                                     : IndexPlacement::First;
}

std::vector<Mp4Track> mp4Tracks(std::string_view moov) {
    std::vector<Mp4Track> tracks;
    const std::optional<InnerBox> root = innerBoxAt(moov, 0);
    if (!root || root->type != "moov") {
        return tracks;
    }
    forEachChild(root->payload(), [&](const InnerBox& trak) {
        if (trak.type == "trak") {
            if (const std::optional<InnerBox> mdia = childOf(trak.payload(), "mdia")) {
                tracks.push_back({handlerOf(mdia->payload()), firstSampleEntry(mdia->payload())});
            }
        }
        return true;
    });
    return tracks;
}

std::optional<std::string> movedIndex(std::string_view moov, const IndexMove& move) {
    const std::optional<InnerBox> root = innerBoxAt(moov, 0);
    if (!root || root->type != "moov" || root->bytes.size() != moov.size() ||
        move.moovSize != moov.size() || move.insertAt > move.moovStart) {
        return std::nullopt;
    }
    // Offsets held by sample auxiliary data or item locations are not
    // rewritten; such a file is left as it is.
    if (moov.find("saio") != std::string_view::npos ||
        moov.find("iloc") != std::string_view::npos) {
        return std::nullopt;
    }
    // Widening a table makes the index longer, which moves the media further:
    // repeat until the size the offsets assume is the size written.
    std::uint64_t assumed = moov.size();
    for (int round = 0; round < 8; ++round) {
        std::string out;
        if (!IndexMover(move, assumed).rewrite(*root, 0, out)) {
            return std::nullopt;
        }
        if (out.size() == assumed) {
            return out;
        }
        assumed = out.size();
    }
    return std::nullopt;
}

std::optional<std::string> readTopLevelBox(const std::filesystem::path& path,
                                           const Mp4Layout& layout, std::string_view type,
                                           std::uint64_t maxBytes) {
    const auto box = std::find_if(layout.boxes.begin(), layout.boxes.end(),
                                  [&](const Mp4Box& b) { return b.type == type; });
    if (box == layout.boxes.end() || box->size > maxBytes ||
        box->size > layout.fileSize - box->offset) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(box->size), '\0');
    in.seekg(static_cast<std::streamoff>(box->offset));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace qm
