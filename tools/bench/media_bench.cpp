// Prints the media figures of one big video: the probe's time (headers only),
// the index-first copy against a plain kernel copy and cp, and what the
// terminal's progress line costs a copy. The copies run in interleaved rounds
// so that a busy machine slows them alike; medians and best times are printed.
// Usage: media_bench VIDEO_WITH_INDEX_AT_END WORK_DIR [ROUNDS]
#include "app/cli/ProgressLine.h"
#include "media/ffmpeg/FfmpegProbe.h"
#include "publish/VideoCopy.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// Times one copy from a clean start (no dirty pages of the last one pending).
double timed(const fs::path& target, const std::function<bool()>& copy) {
    fs::remove(target);
    std::system("sync");
    const Clock::time_point start = Clock::now();
    const bool done = copy();
    const double took = seconds(start);
    if (!done) {
        std::fprintf(stderr, "copy into %s failed\n", target.c_str());
        std::exit(1);
    }
    fs::remove(target);
    return took;
}

bool assemble(const fs::path& target, const std::vector<qm::FilePiece>& pieces,
              const qm::ByteProgress& progress) {
    return qm::assembleFile(target, pieces, progress).status == qm::AssembleStatus::Done;
}

void printTimes(const char* what, const std::vector<double>& times) {
    std::printf("  %-34s median %.3f s, best %.3f s\n", what, median(times), best(times));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: media_bench VIDEO WORK_DIR [ROUNDS]\n");
        return 2;
    }
    const fs::path video = argv[1];
    const fs::path copy = fs::path(argv[2]) / "bench-copy.mp4";
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::uint64_t size = fs::file_size(video);
    const double gigabytes = static_cast<double>(size) / 1e9;

    const qm::media::FfmpegProbe probe;
    std::vector<double> probes;
    for (int i = 0; i < 7; ++i) {
        const Clock::time_point start = Clock::now();
        const qm::media::ProbeReport report = probe.probe(video);
        probes.push_back(seconds(start) * 1000);
        if (!report.facts) {
            std::fprintf(stderr, "probe failed: %s\n", report.reason.c_str());
            return 1;
        }
    }
    std::printf("probe of a %.2f GB file: median %.1f ms, best %.1f ms (7 runs; goal < 50 ms)\n",
                gigabytes, median(probes), best(probes));

    const qm::VideoCopyPlan plan = qm::planVideoCopy(video);
    const std::vector<qm::FilePiece> whole = {{video, 0, size, {}}};
    const std::string cp = "cp '" + video.string() + "' '" + copy.string() + "'";
    // The command line's own progress line, drawn as on a terminal.
    std::ostringstream drawn;
    double inProgress = 0;
    std::uint64_t reports = 0;
    std::vector<double> plain, moved, copied, withProgress;
    for (int round = 0; round < rounds; ++round) {
        plain.push_back(timed(copy, [&] { return assemble(copy, whole, {}); }));
        moved.push_back(timed(copy, [&] { return assemble(copy, plan.pieces, {}); }));
        copied.push_back(timed(copy, [&] { return std::system(cp.c_str()) == 0; }));
        qm::cli::ProgressLine line(drawn, true);
        withProgress.push_back(timed(copy, [&] {
            return assemble(copy, whole, [&](std::uint64_t done) {
                const Clock::time_point start = Clock::now();
                line.show(done, size);
                inProgress += seconds(start);
                ++reports;
                return true;
            });
        }));
    }
    std::printf("copies of the same file, %d interleaved rounds:\n", rounds);
    printTimes(plan.indexMoved ? "index-first copy (index moved)" : "index-first copy (NOT moved)",
               moved);
    printTimes("plain kernel copy", plain);
    printTimes("cp", copied);
    printTimes("plain kernel copy with progress", withProgress);
    std::printf("index-first against cp: %.2f x the speed (median), %.2f x (best); goal >= 0.9\n",
                median(copied) / median(moved), best(copied) / best(moved));
    const double perCopy = inProgress / rounds;
    std::printf("progress: %llu reports per copy, %.3f ms in them = %.3f %% of the copy; "
                "with against without: %+.1f %% (median, noise included); goal < 1 %%\n",
                static_cast<unsigned long long>(reports / static_cast<std::uint64_t>(rounds)),
                perCopy * 1000, perCopy / median(withProgress) * 100,
                (median(withProgress) / median(plain) - 1) * 100);
    return 0;
}
