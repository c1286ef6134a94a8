// The media readers under random input, built with the address and
// undefined-behaviour sanitizers: the MP4 box reader, the index mover and the
// FFmpeg probe on seeded mutations of real clips. Every input must end with a
// result; the probe must also keep within its time limit.
// Usage: media_fuzz CLIP... [--iterations N] [--seed S]

#include "media/VideoCheck.h"
#include "media/ffmpeg/FfmpegProbe.h"
#include "publish/Mp4Boxes.h"
#include "publish/VideoCopy.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void mutate(std::string& bytes, std::mt19937& random) {
    const auto at = [&] { return bytes.empty() ? 0 : random() % bytes.size(); };
    switch (random() % 5) {
    case 0: // a byte
        if (!bytes.empty()) {
            bytes[at()] = static_cast<char>(random());
        }
        break;
    case 1: // a box size or count made huge, tiny or zero
        if (bytes.size() > 4) {
            const std::size_t i = at() & ~std::size_t{3};
            const char value =
                static_cast<char>(std::array<int, 4>{0, 1, 0x7F, 0xFF}[random() % 4]);
            for (std::size_t k = i; k < std::min(i + 4, bytes.size()); ++k) {
                bytes[k] = value;
            }
        }
        break;
    case 2: // cut
        bytes.resize(at());
        break;
    case 3: // a run repeated
        if (!bytes.empty()) {
            const std::size_t from = at();
            bytes.insert(at(), bytes.substr(from, random() % 64));
        }
        break;
    default: // a run removed
        if (!bytes.empty()) {
            bytes.erase(at(), random() % 32);
        }
        break;
    }
}

void checkBoxes(const std::string& bytes) {
    std::istringstream in(bytes);
    const std::optional<qm::Mp4Layout> layout = qm::readMp4Layout(in, bytes.size());
    if (!layout) {
        return;
    }
    std::uint64_t end = 0;
    for (const qm::Mp4Box& box : layout->boxes) {
        require(box.offset == end, "boxes follow each other");
        end = box.offset + box.size;
    }
    for (const qm::Mp4Box& box : layout->boxes) {
        if (box.type != "moov" || box.size > bytes.size() - box.offset) {
            continue;
        }
        const std::string moov = bytes.substr(box.offset, box.size);
        (void)qm::mp4Tracks(moov);
        if (const auto moved = qm::movedIndex(moov, {0, box.offset, box.size})) {
            require(moved->size() >= moov.size(), "a moved index never shrinks");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> clips;
    unsigned iterations = 300;
    unsigned seed = 20261207;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--iterations" && i + 1 < argc) {
            iterations = static_cast<unsigned>(std::stoul(argv[++i]));
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(std::stoul(argv[++i]));
        } else {
            std::ifstream in(arg, std::ios::binary);
            clips.emplace_back(std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>());
        }
    }
    require(!clips.empty(), "clips given");
    const fs::path file =
        fs::temp_directory_path() / ("qm-media-fuzz-" + std::to_string(::getpid()) + ".mp4");
    const qm::media::FfmpegProbe probe;
    std::mt19937 random(seed);
    for (unsigned i = 0; i < iterations; ++i) {
        std::string bytes = clips[random() % clips.size()];
        for (unsigned r = 1 + random() % 6; r > 0; --r) {
            mutate(bytes, random);
        }
        checkBoxes(bytes);
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const auto start = std::chrono::steady_clock::now();
        const qm::media::VideoCheck check = qm::media::checkVideo(probe, file);
        const auto took = std::chrono::steady_clock::now() - start;
        require(took < qm::media::kProbeTimeLimit + std::chrono::seconds(2),
                "the probe keeps its time");
        require(check.report.facts || !check.findings.empty(), "an unreadable file has a finding");
        // A plan reads only bytes the source has, and moves at most the index.
        const qm::VideoCopyPlan plan = qm::planVideoCopy(file);
        std::uint64_t fromSource = 0;
        for (const qm::FilePiece& piece : plan.pieces) {
            require(piece.source.empty() || piece.offset + piece.length <= bytes.size(),
                    "a piece lies within the source");
            fromSource += piece.source.empty() ? 0 : piece.length;
        }
        require(plan.indexMoved || fromSource == bytes.size(), "an unmoved copy is the whole file");
    }
    fs::remove(file);
    std::printf("media fuzz: %u inputs, seed %u, no fault\n", iterations, seed);
    return 0;
}
