// Video copies: the index moved first with every frame unchanged and the
// source untouched, 64-bit offsets where 32 bits no longer hold, progress and
// cancel, and a cancelled publication leaving the folder's package as it was.
#include "TestFiles.h"
#include "publish/Mp4Boxes.h"
#include "publish/Publisher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>

namespace qm {
namespace {

namespace fs = std::filesystem;
const fs::path kClips = QM_MEDIA_CLIPS;

// The decoded frames' checksums, as ffmpeg prints them.
std::string frameSums(const fs::path& video) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -i '" + video.string() + "' -f framemd5 - | grep -v '^#'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        out += buffer;
    }
    return out;
}

std::string box(std::string_view type, const std::string& payload) {
    std::string out;
    const std::uint32_t size = static_cast<std::uint32_t>(8 + payload.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((size >> shift) & 0xFF);
    }
    return out + std::string(type) + payload;
}

std::string be(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

TEST(VideoCopy, IndexMovedFirstKeepsEveryFrameAndTheSource) {
    const test::ScratchFolder scratch;
    const fs::path source = kClips / "end.mp4";
    const std::string before = test::readBytes(source);
    const VideoCopyPlan plan = planVideoCopy(source);
    ASSERT_TRUE(plan.indexMoved);
    EXPECT_EQ(plan.bytes(), before.size());
    const fs::path copy = scratch.path() / "copy.mp4";
    std::vector<std::uint64_t> seen;
    const AssembleResult result = assembleFile(copy, plan.pieces, [&](std::uint64_t done) {
        seen.push_back(done);
        return true;
    });
    ASSERT_EQ(result.status, AssembleStatus::Done);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), plan.bytes());
    EXPECT_EQ(indexPlacement(*readMp4Layout(copy)), IndexPlacement::First);
    EXPECT_EQ(frameSums(copy), frameSums(source));
    EXPECT_FALSE(frameSums(copy).empty());
    // A source shorter than planned (changed meanwhile) is named, and no copy stays.
    const fs::path shorter = scratch.path() / "shorter.mp4";
    const AssembleResult cut = assembleFile(shorter, {{source, 0, before.size() + 1, {}}}, {});
    EXPECT_EQ(cut.error, (FileError{source.string(), std::string(kEndedEarly)}));
    EXPECT_FALSE(fs::exists(shorter));
    EXPECT_EQ(test::readBytes(source), before);
    // A file whose index is first already is one whole piece, copied as it is.
    const VideoCopyPlan good = planVideoCopy(kClips / "good.mp4");
    EXPECT_FALSE(good.indexMoved);
    ASSERT_EQ(good.pieces.size(), 1u);
    EXPECT_EQ(good.pieces[0].length, fs::file_size(kClips / "good.mp4"));
    EXPECT_TRUE(planVideoCopy(kClips / "h264.mov").servedAsMp4);
    EXPECT_FALSE(planVideoCopy(kClips / "pcm.mov").servedAsMp4);
}

TEST(VideoCopy, OffsetsThatOutgrow32BitsBecomeA64BitTable) {
    const std::string stco = box("stco", be(0, 4) + be(2, 4) + be(0xFFFFFFE0u, 4) + be(40, 4));
    const std::string moov = box("moov", box("trak", box("mdia", box("minf", box("stbl", stco)))));
    // The media starts at 32, the index sits after it at 0x1'0000'0000.
    const IndexMove move{32, 0x100000000ull, moov.size()};
    const std::optional<std::string> moved = movedIndex(moov, move);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->size(), moov.size() + 8); // two entries grew by four bytes
    const std::size_t table = moved->find("co64");
    ASSERT_NE(table, std::string::npos);
    const std::uint64_t newSize = moved->size();
    EXPECT_EQ(moved->substr(table + 12, 16), be(0xFFFFFFE0ull + newSize, 8) + be(40 + newSize, 8));
    // A compressed index is left alone.
    EXPECT_FALSE(movedIndex(box("moov", box("cmov", "x")), {0, 8, 17}));
    EXPECT_TRUE(mp4Tracks(moov).size() == 1 && mp4Tracks(moov)[0].handler.empty());
}

class CountingUi : public PublishUi {
  public:
    std::optional<std::string> page;
    std::size_t cancelAt = 0; // progress call that answers Cancel (from 1)
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    std::vector<std::string> messages;

    void showMessage(std::string_view, std::string_view text, MessageIcon) override {
        messages.emplace_back(text);
    }
    std::optional<std::string> choosePageFile(const SaveDialogRequest&) override { return page; }
    void stopPreview() override {}
    void playTick() override {}
    bool showProgress(std::uint64_t done, std::uint64_t total) override {
        progress.emplace_back(done, total);
        return progress.size() != cancelAt;
    }
};

TEST(VideoCopy, CancelledPublicationLeavesThePreviousPackage) {
    const test::ScratchFolder scratch;
    Project project;
    project.options = PlayerOptions::fresh(scratch.path().string());
    project.videos.set(1, (kClips / "h264.mov").string());
    project.videos.set(2, (kClips / "end.mp4").string());
    CountingUi ui;
    ui.page = (scratch.path() / "site" / "index.html").string();
    ASSERT_EQ(Publisher(ui).publish(project).outcome, PublishOutcome::Published);
    const std::uint64_t total =
        fs::file_size(kClips / "h264.mov") + fs::file_size(kClips / "end.mp4");
    ASSERT_GE(ui.progress.size(), 2u);
    EXPECT_EQ(ui.progress.front(), std::make_pair(std::uint64_t{0}, total));
    EXPECT_EQ(ui.progress.back(), std::make_pair(total, total));
    const fs::path site = scratch.path() / "site";
    const std::string page = test::readBytes(site / "tv360_player.html");
    EXPECT_NE(page.find("<SOURCE src=\"h264.mov\" type='video/mp4'/>"), std::string::npos);
    EXPECT_EQ(indexPlacement(*readMp4Layout(site / "end.mp4")), IndexPlacement::First);

    // Publishing again with other videos, cancelled during the copies.
    const auto files = [&] {
        std::map<fs::path, std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(site)) {
            if (entry.is_regular_file()) {
                found[entry.path()] = test::readBytes(entry.path());
            }
        }
        return found;
    };
    const std::map<fs::path, std::string> old = files();
    project.videos.set(1, (kClips / "good.mp4").string());
    ui.cancelAt = ui.progress.size() + 2;
    const PublishResult cancelled = Publisher(ui).publish(project);
    EXPECT_EQ(cancelled.stopReason, StopReason::Cancelled);
    EXPECT_TRUE(files() == old); // same files, same bytes, no temporaries
}

} // namespace
} // namespace qm
