// The probe and its findings on the clips of make_clips.sh: each clip gives
// exactly its findings, the good one none; broken, odd and slow inputs end
// with a finding instead of a crash or a wait.
#include "media/VideoCheck.h"
#include "media/ffmpeg/FfmpegProbe.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>

namespace qm::media {
namespace {

namespace fs = std::filesystem;

const fs::path kClips = QM_MEDIA_CLIPS;
const FfmpegProbe kProbe;

std::set<std::string> codes(const VideoCheck& check, Level level) {
    std::set<std::string> out;
    for (const Finding& finding : check.findings) {
        if (finding.level == level) {
            out.insert(finding.code);
            EXPECT_FALSE(finding.english.empty() || finding.russian.empty()) << finding.code;
        }
    }
    return out;
}

struct Expected {
    std::set<std::string> errors;
    std::set<std::string> warnings;
    std::set<std::string> notes;
};

TEST(MediaProbe, EveryClipGivesItsFindingsAndTheGoodOneNone) {
    const std::map<std::string, Expected> cases = {
        {"good.mp4", {}},
        {"end.mp4", {{}, {}, {"index-at-end"}}},
        {"h264.mov", {{}, {}, {"index-at-end", "quicktime-type"}}},
        {"clip.mkv", {{"container"}, {}, {}}},
        {"audio.mp4", {{"no-video-stream"}, {}, {}}},
        {"hevc.mp4", {{"codec"}, {}, {"index-at-end"}}},
        {"prores.mov", {{"codec"}, {"quicktime-type"}, {"index-at-end"}}},
        {"wide16x9.mp4", {{}, {"not-2-to-1"}, {}}},
        {"wide4352.mp4", {{}, {"wider-than-4096"}, {}}},
        {"wide8448.mp4", {{"wider-than-8192"}, {}, {}}},
        // Turned by a quarter, the 2:1 picture shows as 1:2.
        {"rotated.mp4", {{}, {"not-2-to-1", "rotated"}, {}}},
        {"highrate.mp4", {{}, {"high-bit-rate"}, {}}},
        {"pcm.mov", {{}, {"audio-codec", "quicktime-type"}, {"index-at-end"}}},
        {"notvideo.mp4", {{"not-a-video"}, {}, {}}},
        {"truncated.mp4", {{"not-a-video"}, {}, {}}},
    };
    for (const auto& [clip, expected] : cases) {
        SCOPED_TRACE(clip);
        const VideoCheck check = checkVideo(kProbe, kClips / clip);
        EXPECT_EQ(codes(check, Level::Error), expected.errors);
        EXPECT_EQ(codes(check, Level::Warning), expected.warnings);
        EXPECT_EQ(codes(check, Level::Note), expected.notes);
    }
}

TEST(MediaProbe, ReadsTheFactsFromTheHeaders) {
    const ProbeReport good = kProbe.probe(kClips / "good.mp4");
    ASSERT_TRUE(good.facts) << good.reason;
    const MediaFacts& facts = *good.facts;
    EXPECT_EQ(facts.container, "mov,mp4,m4a,3gp,3g2,mj2");
    EXPECT_EQ(facts.videoCodec, "h264");
    EXPECT_EQ(facts.profile, "Constrained Baseline");
    EXPECT_EQ(facts.width, 256);
    EXPECT_EQ(facts.height, 128);
    EXPECT_DOUBLE_EQ(facts.displayAspect, 2.0);
    EXPECT_DOUBLE_EQ(facts.frameRate, 25.0);
    EXPECT_NEAR(facts.duration, 0.4, 0.05);
    EXPECT_EQ(facts.audioCodec, "aac");
    EXPECT_EQ(facts.index, IndexPlacement::First);
    EXPECT_EQ(facts.fileSize, fs::file_size(kClips / "good.mp4"));
    EXPECT_GT(facts.bitRate, 0);

    EXPECT_EQ(kProbe.probe(kClips / "end.mp4").facts->index, IndexPlacement::AtEnd);
    const int rotation = kProbe.probe(kClips / "rotated.mp4").facts->rotation;
    EXPECT_TRUE(rotation == 90 || rotation == 270) << rotation;
    EXPECT_EQ(kProbe.probe(kClips / "hevc.mp4").facts->profile, "Main");
}

TEST(MediaProbe, OddInputsEndWithAFindingNotAWait) {
    const fs::path fifo =
        fs::temp_directory_path() / ("qm-probe-fifo-" + std::to_string(::getpid()));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opening a pipe would block until a writer comes; it is refused first.
    EXPECT_EQ(kProbe.probe(fifo).failure, ProbeFailure::NotAFile);
    fs::remove(fifo);
    EXPECT_EQ(kProbe.probe(kClips / "absent.mp4").failure, ProbeFailure::NotAFile);
    EXPECT_EQ(kProbe.probe(kClips).failure, ProbeFailure::NotAFile);
    // The deadline reaches into FFmpeg's reads.
    const ProbeReport late = kProbe.probe(kClips / "good.mp4", std::chrono::milliseconds(0));
    EXPECT_EQ(late.failure, ProbeFailure::TimedOut);
    EXPECT_FALSE(late.facts);
    const std::vector<Finding> findings = findingsFor(kClips / "good.mp4", late, {});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "not-a-video");
}

} // namespace
} // namespace qm::media
