#include "persist/ProjectFile.h"

#include "DefaultOptionsBlock.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using test::crlfLines;
using test::readBytes;
using test::ScratchFolder;
using test::writeBytes;
namespace fs = std::filesystem;

// A project saved right after a fresh start in /start with /videos/tour.mp4
// chosen: the default options block, then these lines.
const std::string kFreshProjectTail = crlfLines({
    "-----------------------------------------------",
    "<VIDEO1>/videos/tour.mp4</VIDEO1>",
    "<VIDEO2></VIDEO2>",
    "<VIDEO3></VIDEO3>",
    "-----------------------------------------------",
    "<HSLINK1></HSLINK1>",
    "<HSTITLE1></HSTITLE1>",
    "<HSPOS1>0</HSPOS1>",
    "<HSYAW1>.000</HSYAW1>",
    "<HSTIME1>.000</HSTIME1>",
    "<HSSELF1>0</HSSELF1>",
    "<HSLINK2></HSLINK2>",
    "<HSTITLE2></HSTITLE2>",
    "<HSPOS2>0</HSPOS2>",
    "<HSYAW2>.000</HSYAW2>",
    "<HSTIME2>.000</HSTIME2>",
    "<HSSELF2>0</HSSELF2>",
    "<HSLINK3></HSLINK3>",
    "<HSTITLE3></HSTITLE3>",
    "<HSPOS3>0</HSPOS3>",
    "<HSYAW3>.000</HSYAW3>",
    "<HSTIME3>.000</HSTIME3>",
    "<HSSELF3>0</HSSELF3>",
    "<HSLINK4></HSLINK4>",
    "<HSTITLE4></HSTITLE4>",
    "<HSPOS4>0</HSPOS4>",
    "<HSYAW4>.000</HSYAW4>",
    "<HSTIME4>.000</HSTIME4>",
    "<HSSELF4>0</HSSELF4>",
    "<HSLINK5></HSLINK5>",
    "<HSTITLE5></HSTITLE5>",
    "<HSPOS5>0</HSPOS5>",
    "<HSYAW5>.000</HSYAW5>",
    "<HSTIME5>.000</HSTIME5>",
    "<HSSELF5>0</HSSELF5>",
    "<HSLINK6></HSLINK6>",
    "<HSTITLE6></HSTITLE6>",
    "<HSPOS6>0</HSPOS6>",
    "<HSYAW6>.000</HSYAW6>",
    "<HSTIME6>.000</HSTIME6>",
    "<HSSELF6>0</HSSELF6>",
    "<HSLINK7></HSLINK7>",
    "<HSTITLE7></HSTITLE7>",
    "<HSPOS7>0</HSPOS7>",
    "<HSYAW7>.000</HSYAW7>",
    "<HSTIME7>.000</HSTIME7>",
    "<HSSELF7>0</HSSELF7>",
    "<HSLINK8></HSLINK8>",
    "<HSTITLE8></HSTITLE8>",
    "<HSPOS8>0</HSPOS8>",
    "<HSYAW8>.000</HSYAW8>",
    "<HSTIME8>.000</HSTIME8>",
    "<HSSELF8>0</HSSELF8>",
    "<HSLINK9></HSLINK9>",
    "<HSTITLE9></HSTITLE9>",
    "<HSPOS9>0</HSPOS9>",
    "<HSYAW9>.000</HSYAW9>",
    "<HSTIME9>.000</HSTIME9>",
    "<HSSELF9>0</HSSELF9>",
    "<HSLINK10></HSLINK10>",
    "<HSTITLE10></HSTITLE10>",
    "<HSPOS10>0</HSPOS10>",
    "<HSYAW10>.000</HSYAW10>",
    "<HSTIME10>.000</HSTIME10>",
    "<HSSELF10>0</HSSELF10>",
});

const std::string kFreshProjectFile = test::defaultOptionsBlock() + kFreshProjectTail;

Project freshProject() {
    Project project;
    project.options = PlayerOptions::fresh("/start");
    project.options.loadDir = "/videos";
    project.videos.set(1, "/videos/tour.mp4");
    return project;
}

Project loaded(std::string_view fileBytes, std::string* video = nullptr) {
    Project project = freshProject();
    project.hotSpots.put(4, HotSpotItem{"old", "old", 1, 1, 1, 1});
    project.videos.set(2, "/old.webm");
    std::string opened = applyProjectContent(prepareContent(fileBytes), project, "/cwd");
    if (video != nullptr) {
        *video = std::move(opened);
    }
    return project;
}

Project richProject() {
    Project project = freshProject();
    project.options.htmlTitle = "Прогулка по Москве";
    project.options.setItem(Choice::Window, 8);
    project.options.hsIcons = {200, 201, 0, 0, 0, 0, 0, 0, 0, 234};
    project.videos.set(2, "/videos/tour.webm");
    project.videos.set(3, "/videos/tour.ogv");
    project.hotSpots.put(2, HotSpotItem{"http://example.com/a?b=1&c=2", "Красная площадь", -179,
                                        12.345678901, 5, 1});
    project.hotSpots.put(7, HotSpotItem{"page.html", "", 180, 0.5, 2.25, 0});
    project.hotSpots.put(10, HotSpotItem{"x", "t", 0, 3600.125, 0.001, 0});
    return project;
}

TEST(WriteProjectFile, FreshProjectByteForByte) {
    const EncodedText text = projectFileText(freshProject());
    EXPECT_EQ(text.bytes, kFreshProjectFile);
    EXPECT_EQ(std::count(text.bytes.begin(), text.bytes.end(), '\n'), 102);
    EXPECT_FALSE(text.isUtf8());
    ScratchFolder dir;
    ASSERT_TRUE(writeProjectFile(dir / "p.pp5", freshProject()).ok());
    EXPECT_EQ(readBytes(dir / "p.pp5"), kFreshProjectFile);
}

TEST(WriteProjectFile, HotSpotRecordForms) {
    Project project = freshProject();
    project.hotSpots.put(3, HotSpotItem{"  link  ", " Заголовок ", -90, 0.5, 2.5, 1});
    project.hotSpots.put(4, HotSpotItem{"l", "t", 45, 12.25, 5, 0});
    const std::string bytes = projectFileText(project).bytes;
    EXPECT_NE(
        bytes.find(crlfLines(
            {"<HSLINK3>link</HSLINK3>", "<HSTITLE3>\xC7\xE0\xE3\xEE\xEB\xEE\xE2\xEE\xEA</HSTITLE3>",
             "<HSPOS3>.5</HSPOS3>", "<HSYAW3>-90.000</HSYAW3>", "<HSTIME3>2.500</HSTIME3>",
             "<HSSELF3>1</HSSELF3>", "<HSLINK4>l</HSLINK4>", "<HSTITLE4>t</HSTITLE4>",
             "<HSPOS4>12.25</HSPOS4>", "<HSYAW4>45.000</HSYAW4>", "<HSTIME4>5.000</HSTIME4>",
             "<HSSELF4>0</HSSELF4>"})),
        std::string::npos);
}

TEST(WriteProjectFile, VideoPathsTrimmedAndTextOutsideWindows1251KeptExactly) {
    Project project = freshProject();
    project.videos.set(1, "  /v/видео.mp4  ");
    EXPECT_NE(
        projectFileText(project).bytes.find("<VIDEO1>/v/\xE2\xE8\xE4\xE5\xEE.mp4</VIDEO1>\r\n"),
        std::string::npos);
    project.videos.set(3, "/v/Führung café.ogv");
    project.hotSpots.put(5,
                         HotSpotItem{"https://example.org/musée", "Entrée du musée", 0, 1, 1, 0});
    const EncodedText text = projectFileText(project);
    EXPECT_EQ(text.utf8Fields, (std::vector<std::string>{"VIDEO3", "HSLINK5", "HSTITLE5"}));
    ScratchFolder dir;
    ASSERT_TRUE(writeProjectFile(dir / "p.pp5", project).ok());
    Project back;
    ASSERT_TRUE(readProjectFile(dir / "p.pp5", back, "/cwd").applied);
    EXPECT_EQ(back.videos.path(1), "/v/видео.mp4");
    EXPECT_EQ(back.videos.path(3), "/v/Führung café.ogv");
    EXPECT_EQ(back.hotSpots.record(5), project.hotSpots.record(5));
}

TEST(WriteProjectFile, FailureLeavesTheOldFileAndNamesThePath) {
    ScratchFolder dir;
    const ProjectWriteResult result = writeProjectFile(dir / "missing" / "p.pp5", freshProject());
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->path, pathText(dir / "missing" / "p.pp5"));
}

TEST(ReadProjectFile, SaveThenLoadRestoresEverythingTheFileCarries) {
    ScratchFolder dir;
    const Project saved = richProject();
    ASSERT_TRUE(writeProjectFile(dir / "p.pp5", saved).ok());
    Project project;
    project.options.transient.manualWidth = "777";
    const ProjectReadResult read = readProjectFile(dir / "p.pp5", project, "/cwd");
    ASSERT_TRUE(read.applied);
    EXPECT_EQ(read.videoToOpen, "/videos/tour.mp4");
    EXPECT_EQ(project.options.transient.manualWidth, "777"); // no file carries it
    project.options.transient = saved.options.transient;
    EXPECT_EQ(project.options, saved.options);
    EXPECT_EQ(project.videos, saved.videos);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const HotSpotItem& a = project.hotSpots.record(slot);
        const HotSpotItem& b = saved.hotSpots.record(slot);
        EXPECT_EQ(a.link, b.link) << slot;
        EXPECT_EQ(a.title, b.title) << slot;
        EXPECT_EQ(a.yaw, b.yaw) << slot;
        EXPECT_DOUBLE_EQ(a.pos, b.pos) << slot;
        EXPECT_DOUBLE_EQ(a.self, b.self) << slot;
    }
    EXPECT_DOUBLE_EQ(project.hotSpots.record(2).time, 5.0);
    EXPECT_DOUBLE_EQ(project.hotSpots.record(7).time, 2.25);
    EXPECT_DOUBLE_EQ(project.hotSpots.record(10).time, 0.001);
    EXPECT_EQ(project.hotSpots.countInUse(), 3);
}

TEST(ReadProjectFile, SecondSaveIsByteIdentical) {
    ScratchFolder dir;
    ASSERT_TRUE(writeProjectFile(dir / "a.pp5", richProject()).ok());
    Project project;
    ASSERT_TRUE(readProjectFile(dir / "a.pp5", project, "/cwd").applied);
    ASSERT_TRUE(writeProjectFile(dir / "b.pp5", project).ok());
    EXPECT_EQ(readBytes(dir / "a.pp5"), readBytes(dir / "b.pp5"));
}

TEST(ReadProjectFile, CyrillicTitleTravelsAsWindows1251Bytes) {
    ScratchFolder dir;
    Project project = freshProject();
    project.hotSpots.put(1, HotSpotItem{"l", "Ёлка", 0, 1, 1, 0});
    ASSERT_TRUE(writeProjectFile(dir / "p.pp5", project).ok());
    const std::string bytes = readBytes(dir / "p.pp5");
    EXPECT_NE(bytes.find("<HSTITLE1>\xA8\xEB\xEA\xE0</HSTITLE1>"), std::string::npos);
    Project back;
    ASSERT_TRUE(readProjectFile(dir / "p.pp5", back, "/cwd").applied);
    EXPECT_EQ(back.hotSpots.record(1).title, "Ёлка");
}

TEST(ReadProjectFile, OptionsFileAsProjectEmptiesSlotsAndVideos) {
    PlayerOptions options = freshProject().options;
    options.setItem(Choice::Window, 5);
    EncodedText optionsFile;
    writeOptionsBlock(optionsFile, options);
    std::string video = "unset";
    const Project project = loaded(optionsFile.bytes, &video);
    EXPECT_EQ(project.hotSpots, HotSpotTable{});
    EXPECT_EQ(project.videos, VideoPaths{});
    EXPECT_EQ(video, "");
    EXPECT_EQ(project.options.item(Choice::Window), 5);
}

TEST(ReadProjectFile, MissingTagsEmptyTheirValues) {
    const Project project = loaded("<HSPOS2>3</HSPOS2><HSLINK2>a</HSLINK2>");
    const HotSpotItem& item = project.hotSpots.record(2);
    EXPECT_EQ(item.link, "a");
    EXPECT_EQ(item.title, "");
    EXPECT_EQ(item.pos, 3);
    EXPECT_EQ(item.yaw, 0);
    EXPECT_EQ(item.time, 0);
    EXPECT_EQ(item.self, 0);
    EXPECT_FALSE(project.hotSpots.inUse(4));
}

TEST(ReadProjectFile, FieldRules) {
    const Project project = loaded(crlfLines({
        "<VIDEO1>  /v/a.mp4  </VIDEO1>",
        "<HSLINK1>  spaced link  </HSLINK1>",
        "<HSTITLE1>" + std::string(50, 't') + "</HSTITLE1>",
        "<HSPOS1>12.3456</HSPOS1>",
        "<HSYAW1>2.500</HSYAW1>",
        "<HSTIME1>3.000</HSTIME1>",
        "<HSSELF1>0.5</HSSELF1>",
        "<HSPOS2>1</HSPOS2><HSYAW2>-3.5</HSYAW2><HSSELF2>1.5</HSSELF2>",
        "<HSPOS3>1</HSPOS3><HSLINK3>" + std::string(600, 'k') + "</HSLINK3>",
        "<HSPOS4>1</HSPOS4><HSLINK4>a</b></HSLINK4>",
    }));
    EXPECT_EQ(project.videos.path(1), "/v/a.mp4");
    const HotSpotItem& first = project.hotSpots.record(1);
    EXPECT_EQ(first.link, "spaced link");
    EXPECT_EQ(first.title, std::string(40, 't'));
    EXPECT_EQ(first.pos, 12.3456);
    EXPECT_EQ(first.yaw, 2); // ties to even
    EXPECT_EQ(first.time, 3);
    EXPECT_EQ(first.self, 0);
    EXPECT_EQ(project.hotSpots.record(2).yaw, -4);
    EXPECT_EQ(project.hotSpots.record(2).self, 2);
    EXPECT_EQ(project.hotSpots.record(3).link, std::string(512, 'k'));
    EXPECT_EQ(project.hotSpots.record(4).link, "a<b>");
}

TEST(ReadProjectFile, CyrillicTitleCutAtFortyCharacters) {
    std::string title;
    for (int i = 0; i < 45; ++i) {
        title += "\xE9"; // "й"
    }
    const Project project = loaded("<HSPOS1>1</HSPOS1><HSTITLE1>" + title + "</HSTITLE1>");
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        expected += "й";
    }
    EXPECT_EQ(project.hotSpots.record(1).title, expected);
}

TEST(ReadProjectFile, FoldersComeFromTheProject) {
    const Project project = loaded("<LOADDIR>/proj/load</LOADDIR><SAVEDIR>/proj/save</SAVEDIR>");
    EXPECT_EQ(project.options.loadDir, "/proj/load");
    EXPECT_EQ(project.options.saveDir, "/proj/save");
}

TEST(ReadProjectFile, SlotNumbersOutOfRangeAreIgnored) {
    const Project project = loaded("<HSPOS0>5</HSPOS0><HSPOS11>5</HSPOS11><HSLINK11>x</HSLINK11>");
    EXPECT_EQ(project.hotSpots.countInUse(), 0);
}

TEST(ReadProjectFile, UnreadableFileChangesNothing) {
    ScratchFolder dir;
    writeBytes(dir / "huge.pp5", std::string(kMaxTextFileBytes + 1, '<'));
    for (const fs::path& path : {dir / "missing.pp5", dir / "huge.pp5", dir.path()}) {
        Project project = richProject();
        const ProjectReadResult read = readProjectFile(path, project, "/cwd");
        EXPECT_FALSE(read.applied);
        ASSERT_TRUE(read.error.has_value());
        EXPECT_EQ(read.error->path, pathText(path));
        EXPECT_EQ(project, richProject());
    }
}

TEST(ProjectName, ExtensionAppendedUnlessPresent) {
    EXPECT_EQ(withProjectExtension("demo"), "demo.pp5");
    EXPECT_EQ(withProjectExtension("demo.txt"), "demo.txt.pp5");
    EXPECT_EQ(withProjectExtension("DEMO.PP5"), "DEMO.PP5");
    EXPECT_EQ(withProjectExtension("  /a/b.pp5  "), "/a/b.pp5");
    EXPECT_EQ(withProjectExtension("pp5"), "pp5.pp5");
}

} // namespace
} // namespace qm
