// quillmark set and quillmark hotspot on a project made by quillmark new:
// what they store (read back through the project reader and quillmark info),
// their refusals with exit codes, and that a refused edit leaves the file alone.

#include "CliProcess.h"

#include "persist/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qm::test {
namespace {

namespace fs = std::filesystem;

class ProjectEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeBytes(folder_.path() / "clip.mp4", "not really a video");
        const CliResult made = run({"new", "tour.pp5", "clip.mp4"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        project_ = folder_.path() / "tour.pp5";
        ASSERT_TRUE(fs::exists(project_));
    }

    CliResult run(const std::vector<std::string>& args) const {
        return runQuillmark(args, folder_.path());
    }

    Project load() const {
        Project project;
        const ProjectReadResult read = readProjectFile(project_, project, folder_.path().string());
        EXPECT_TRUE(read.applied);
        return project;
    }

    // Runs a command that must be refused and checks that the file stayed as it was.
    void expectRefused(const std::vector<std::string>& args, int exitCode,
                       const std::string& message) const {
        const std::string before = readBytes(project_);
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, exitCode) << args[2];
        EXPECT_NE(result.err.find(message), std::string::npos)
            << "wanted \"" << message << "\", got: " << result.err;
        EXPECT_EQ(readBytes(project_), before);
    }

    ScratchFolder folder_;
    fs::path project_;
};

TEST_F(ProjectEditTest, SetStoresEveryKindOfOption) {
    const CliResult set = run({"set",
                               "tour.pp5",
                               "WINDOW",
                               "12",
                               "ZOOM",
                               "3",
                               "VIEWMODE",
                               "1",
                               "BLACKAREACOLOR",
                               "0000FF",
                               "HTMLBGCOLOR",
                               "1e1410",
                               "HTMLTITLE",
                               "Экскурсия café",
                               "HS_ICON3",
                               "205",
                               "STAT",
                               "1",
                               "CONTROLS",
                               "0",
                               "MOUSESPEED",
                               "8",
                               "TOOLTIPHELP",
                               "0",
                               "ZOOMMAX",
                               "150"});
    ASSERT_EQ(set.exitCode, 0) << set.err;

    const Project project = load();
    const PlayerOptions& o = project.options;
    EXPECT_EQ(o.item(Choice::Window), 12);
    EXPECT_EQ(o.item(Choice::Zoom), 3);
    EXPECT_EQ(o.item(Choice::MouseSpeed), 8);
    EXPECT_EQ(o.viewMode, 1);
    EXPECT_EQ(o.blackAreaColor, 0x0000FFu); // red in the low byte
    EXPECT_EQ(o.htmlBgColor, 0x1E1410u);
    EXPECT_EQ(o.htmlTitle, "Экскурсия café"); // kept exactly, though Windows-1251 lacks é
    EXPECT_EQ(o.hsIcons[3], 205);
    EXPECT_TRUE(o.stat);
    EXPECT_FALSE(o.controls);
    EXPECT_EQ(o.tooltipHelp, 0);
    EXPECT_EQ(o.zoomMax, 150);
    // Untouched options keep what quillmark new wrote.
    EXPECT_EQ(o.item(Choice::Audio), 6);
    EXPECT_EQ(o.hsIcons[0], 0);
    EXPECT_EQ(project.videos.path(1), (folder_.path() / "clip.mp4").string());

    const CliResult info = run({"info", "tour.pp5"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("\"12.1024x768\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"Black Areas\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("web #FF0000"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"Экскурсия café\""), std::string::npos) << info.out;
}

TEST_F(ProjectEditTest, InfoSendsNoControlBytesToTheTerminal) {
    ASSERT_EQ(run({"set", "tour.pp5", "HTMLTITLE", "\x1b]0;owned\x07\x1b[2J"}).exitCode, 0);
    const CliResult info = run({"info", "tour.pp5"});
    EXPECT_EQ(info.out.find('\x1b'), std::string::npos);
    EXPECT_NE(info.out.find("\"\\x1b]0;owned\\x07\\x1b[2J\""), std::string::npos) << info.out;
}

TEST_F(ProjectEditTest, SetRefusesUnknownTagsAndValuesOutOfRange) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"NOSUCH", "1"}, "unknown tag \"NOSUCH\""},
        {{"WINDOW", "13"}, "WINDOW takes an item number from 1 to 12, not \"13\""},
        {{"WINDOW", "0"}, "WINDOW takes an item number from 1 to 12"},
        {{"ZOOM", "11"}, "ZOOM takes an item number from 1 to 10"},
        {{"YAW", "x"}, "YAW takes an item number from 1 to 13"},
        {{"STAT", "2"}, "STAT takes a switch from 0 to 1"},
        {{"VIEWMODE", "-1"}, "VIEWMODE takes a mode"},
        {{"HTMLBGCOLOR", "FFFFF"}, "HTMLBGCOLOR takes six hex digits"},
        {{"BLACKAREACOLOR", "GG0000"}, "BLACKAREACOLOR takes six hex digits"},
        {{"HS_ICON3", "199"}, "HS_ICON3 takes an icon code from 200 to 234"},
        {{"HS_ICON10", "200"}, "unknown tag \"HS_ICON10\""},
        {{"HTMLTITLE", "two\nlines"}, "HTMLTITLE must be one line"},
        // Text a reader takes for a tag would change this or another value.
        {{"HTMLTITLE", "<HSPOS1>9"}, "HTMLTITLE cannot hold \"<HSPOS1>\""},
        {{"LOADDIR", "/a</b"}, "LOADDIR cannot hold \"</\""},
        {{"BORDER", "1"}, "BORDER is fixed"},
        {{"WINDOW", "5", "AUDIO"}, "the tag AUDIO has no value"},
        // One bad pair stops the whole command: the good one before it is not written either.
        {{"WINDOW", "5", "QUAL", "8"}, "QUAL takes an item number from 1 to 7"},
    };
    for (const auto& [pairs, message] : cases) {
        std::vector<std::string> args{"set", "tour.pp5"};
        args.insert(args.end(), pairs.begin(), pairs.end());
        expectRefused(args, 2, message);
    }
}

TEST_F(ProjectEditTest, HotSpotIsStoredAsTheEditorStoresIt) {
    const CliResult stored =
        run({"hotspot", "tour.pp5", "7", "--yaw", "-90", "--pos", "2.25", "--time", "7 s", "--link",
             "  https://example.org/musée", "--title", "Entrée du musée", "--self", "--icon",
             "212"});
    ASSERT_EQ(stored.exitCode, 0) << stored.err;
    ASSERT_EQ(run({"hotspot", "tour.pp5", "2", "--yaw", "180", "--pos", ".5", "--time", "3.5",
                   "--link", "next.html"})
                  .exitCode,
              0);

    const Project project = load();
    EXPECT_EQ(project.hotSpots.countInUse(), 2);
    const HotSpotItem& seven = project.hotSpots.record(7);
    EXPECT_EQ(seven.yaw, -90);
    EXPECT_DOUBLE_EQ(seven.pos, 2.25);
    EXPECT_DOUBLE_EQ(seven.time, 7.0); // the leading number of the typed text
    EXPECT_EQ(seven.self, 1);
    EXPECT_EQ(seven.strippedLink(), "https://example.org/musée");
    EXPECT_EQ(seven.strippedTitle(), "Entrée du musée");
    EXPECT_EQ(project.options.hsIcons[6], 212);
    const HotSpotItem& two = project.hotSpots.record(2);
    EXPECT_EQ(two.yaw, 180);
    EXPECT_DOUBLE_EQ(two.pos, 0.5);
    EXPECT_EQ(two.self, 0);
    EXPECT_EQ(two.strippedTitle(), "");
    EXPECT_EQ(project.options.hsIcons[1], 0); // no --icon: the slot's code stays

    const CliResult info = run({"info", "tour.pp5"});
    EXPECT_NE(info.out.find("Hot spots: 2 of 10 slots in use"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Hot Spot 07"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"Entrée du musée\""), std::string::npos) << info.out;
}

TEST_F(ProjectEditTest, LongTextsAreCutToTheirFieldsWithAWarning) {
    const std::string link(600, 'l');
    const std::string title(50, 't');
    const CliResult stored = run({"hotspot", "tour.pp5", "1", "--yaw", "0", "--pos", "1", "--time",
                                  "5", "--link", link, "--title", title});
    ASSERT_EQ(stored.exitCode, 0);
    EXPECT_NE(stored.err.find("--title is longer than 40 characters; stored as \"" +
                              std::string(40, 't')),
              std::string::npos)
        << stored.err;
    const Project project = load(); // kept: the record is a part of it
    const HotSpotItem& item = project.hotSpots.record(1);
    EXPECT_EQ(item.strippedLink(), std::string(512, 'l'));
    EXPECT_EQ(item.strippedTitle(), std::string(40, 't'));
}

TEST_F(ProjectEditTest, HotSpotRefusalsKeepTheFileAsItWas) {
    ASSERT_EQ(run({"hotspot", "tour.pp5", "3", "--yaw", "10", "--pos", "1", "--time", "5", "--link",
                   "first.html"})
                  .exitCode,
              0);
    const std::vector<std::string> store{"hotspot", "tour.pp5", "3", "--yaw", "20"};
    auto with = [&store](std::vector<std::string> rest) {
        std::vector<std::string> args = store;
        args.insert(args.end(), rest.begin(), rest.end());
        return args;
    };
    expectRefused(with({"--pos", "1", "--time", "5", "--link", "   "}), 1,
                  "The link of Hot Spot is empty");
    expectRefused(with({"--pos", "0", "--time", "5", "--link", "x"}), 1,
                  "Current Hot Spot position in movie stream cannot be - \"0\"");
    expectRefused(with({"--pos", "-2", "--time", "5", "--link", "x"}), 1,
                  "Current Hot Spot position in movie stream cannot be - \"0\"");
    for (const std::string time : {"0", "0.0", "", "soon", "0.0004"}) {
        expectRefused(with({"--pos", "1", "--time", time, "--link", "x"}), 1,
                      "The time for shown a Hot Spot is not determined");
    }
    expectRefused(with({"--pos", "1", "--time", "5", "--link", "x", "--title", "a</b"}), 2,
                  "--title cannot hold \"</\"");
    // The link is checked first, as the editor does.
    expectRefused(with({"--pos", "0", "--time", "0", "--link", ""}), 1,
                  "The link of Hot Spot is empty");

    expectRefused(
        {"hotspot", "tour.pp5", "11", "--yaw", "0", "--pos", "1", "--time", "5", "--link", "x"}, 2,
        "SLOT");
    expectRefused(
        {"hotspot", "tour.pp5", "3", "--yaw", "-180", "--pos", "1", "--time", "5", "--link", "x"},
        2, "--yaw");
    expectRefused({"hotspot", "tour.pp5", "3", "--yaw", "0", "--pos", "1", "--link", "x"}, 2,
                  "needs --yaw, --pos, --time and --link");
    expectRefused({"hotspot", "tour.pp5", "3", "--delete", "--yaw", "0"}, 2, "excludes");
    expectRefused({"hotspot", "tour.pp5", "3", "--yaw", "0", "--pos", "1", "--time", "5", "--link",
                   "x", "--icon", "235"},
                  2, "--icon");
    EXPECT_EQ(load().hotSpots.record(3).strippedLink(), "first.html");
}

TEST_F(ProjectEditTest, DeleteEmptiesTheSlotAndKeepsItsIcon) {
    ASSERT_EQ(run({"hotspot", "tour.pp5", "3", "--yaw", "45", "--pos", "4", "--time", "5", "--link",
                   "x", "--icon", "220"})
                  .exitCode,
              0);
    ASSERT_EQ(run({"hotspot", "tour.pp5", "3", "--delete"}).exitCode, 0);
    const Project project = load();
    EXPECT_EQ(project.hotSpots.record(3), HotSpotItem{});
    EXPECT_EQ(project.hotSpots.countInUse(), 0);
    EXPECT_EQ(project.options.hsIcons[2], 220);
}

TEST_F(ProjectEditTest, FileFailuresNameThePath) {
    const CliResult set = run({"set", "missing.pp5", "WINDOW", "1"});
    EXPECT_EQ(set.exitCode, 3);
    EXPECT_NE(set.err.find("missing.pp5"), std::string::npos) << set.err;
    const CliResult hotspot = run({"hotspot", "missing.pp5", "1", "--delete"});
    EXPECT_EQ(hotspot.exitCode, 3);
    EXPECT_FALSE(fs::exists(folder_.path() / "missing.pp5"));
    // A project the user made read-only stays as it is.
    fs::permissions(project_, fs::perms::owner_read);
    expectRefused({"set", "tour.pp5", "WINDOW", "1"}, 3, "tour.pp5: the file is read-only");
    expectRefused({"hotspot", "tour.pp5", "1", "--delete"}, 3, "the file is read-only");
}

} // namespace
} // namespace qm::test
