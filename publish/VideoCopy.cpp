#include "publish/VideoCopy.h"

#include "publish/Mp4Boxes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace qm {
namespace fs = std::filesystem;

namespace {

std::string upperExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

bool isQuickTimeName(const std::string& extension) {
    return extension == ".MOV" || extension == ".QT";
}

bool isMp4FamilyName(const std::string& extension) {
    return extension == ".MP4" || extension == ".M4V" || isQuickTimeName(extension);
}

bool playsAsMp4(const std::vector<Mp4Track>& tracks) {
    bool video = false;
    for (const Mp4Track& track : tracks) {
        if (track.handler == "vide") {
            if (track.sampleEntry != "avc1" && track.sampleEntry != "avc3") {
                return false;
            }
            video = true;
        } else if (track.handler == "soun" && track.sampleEntry != "mp4a") {
            return false;
        }
    }
    return video;
}

FilePiece wholeFile(const fs::path& source, std::uint64_t size) {
    return FilePiece{source, 0, size, {}};
}

FilePiece range(const fs::path& source, std::uint64_t from, std::uint64_t to) {
    return FilePiece{source, from, to - from, {}};
}

// ftyp and whatever precedes the media, the moved index, the media, and what
// followed the old index.
std::optional<std::vector<FilePiece>>
indexFirstPieces(const fs::path& source, const Mp4Layout& layout, const std::string& moov) {
    const auto mdat = std::find_if(layout.boxes.begin(), layout.boxes.end(),
                                   [](const Mp4Box& box) { return box.type == "mdat"; });
    const auto index = std::find_if(layout.boxes.begin(), layout.boxes.end(),
                                    [](const Mp4Box& box) { return box.type == "moov"; });
    const IndexMove move{mdat->offset, index->offset, index->size};
    std::optional<std::string> moved = movedIndex(moov, move);
    if (!moved) {
        return std::nullopt;
    }
    std::vector<FilePiece> pieces;
    pieces.push_back(range(source, 0, move.insertAt));
    pieces.push_back(FilePiece{{}, 0, 0, std::move(*moved)});
    pieces.push_back(range(source, move.insertAt, move.moovStart));
    pieces.push_back(range(source, move.moovStart + move.moovSize, layout.fileSize));
    std::erase_if(pieces, [](const FilePiece& piece) { return piece.size() == 0; });
    return pieces;
}

} // namespace

std::uint64_t VideoCopyPlan::bytes() const {
    std::uint64_t total = 0;
    for (const FilePiece& piece : pieces) {
        total += piece.size();
    }
    return total;
}

VideoCopyPlan planVideoCopy(const fs::path& source) {
    std::error_code code;
    const std::uint64_t size = fs::file_size(source, code);
    VideoCopyPlan plan;
    plan.pieces.push_back(wholeFile(source, code ? 0 : size));
    const std::string extension = upperExtension(source);
    if (code || !isMp4FamilyName(extension)) {
        return plan;
    }
    const std::optional<Mp4Layout> layout = readMp4Layout(source);
    if (!layout || layout->truncated) {
        return plan;
    }
    const std::optional<std::string> moov =
        readTopLevelBox(source, *layout, "moov", kMaxMovedIndexBytes);
    if (!moov) {
        return plan;
    }
    plan.servedAsMp4 = isQuickTimeName(extension) && playsAsMp4(mp4Tracks(*moov));
    if (indexPlacement(*layout) == IndexPlacement::AtEnd) {
        if (std::optional<std::vector<FilePiece>> pieces =
                indexFirstPieces(source, *layout, *moov)) {
            plan.pieces = std::move(*pieces);
            plan.indexMoved = true;
        }
    }
    return plan;
}

StagedFiles::~StagedFiles() {
    for (const auto& [temporary, target] : files_) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
}

void StagedFiles::add(fs::path temporary, fs::path target) {
    files_.emplace_back(std::move(temporary), std::move(target));
}

std::optional<FileError> StagedFiles::commit() {
    while (!files_.empty()) {
        const auto& [temporary, target] = files_.front();
        std::error_code code;
        fs::rename(temporary, target, code);
        if (code) {
            return FileError{pathText(target), "cannot replace the file: " + code.message()};
        }
        files_.erase(files_.begin());
    }
    return std::nullopt;
}

} // namespace qm
