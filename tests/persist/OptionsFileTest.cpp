#include "persist/OptionsFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using test::readBytes;
using test::ScratchFolder;
using test::writeBytes;
namespace fs = std::filesystem;

Project projectWithVideo(std::string video) {
    Project project;
    project.options = PlayerOptions::fresh("/start");
    project.videos.set(1, std::move(video));
    return project;
}

TEST(WriteOptionsFile, NoVideoAskedByUserGivesTheMessageAndLeavesTheFile) {
    ScratchFolder dir;
    writeBytes(dir / "q.ini", "older file");
    const OptionsWriteResult asked = writeOptionsFile(dir / "q.ini", projectWithVideo("   "), true);
    EXPECT_FALSE(asked.written);
    ASSERT_TRUE(asked.message.has_value());
    EXPECT_EQ(asked.message->caption, "Information:");
    EXPECT_EQ(asked.message->text,
              "You need to choose any video file, then you can save a parameters");
    EXPECT_FALSE(asked.error.has_value());
    EXPECT_EQ(readBytes(dir / "q.ini"), "older file");

    const OptionsWriteResult leaving = writeOptionsFile(dir / "q.ini", projectWithVideo(""), false);
    EXPECT_FALSE(leaving.written);
    EXPECT_FALSE(leaving.message.has_value());
    EXPECT_EQ(readBytes(dir / "q.ini"), "older file");
}

TEST(WriteOptionsFile, NoVideoNeverCreatesAFile) {
    ScratchFolder dir;
    writeOptionsFile(dir / "q.ini", projectWithVideo(""), true);
    EXPECT_FALSE(fs::exists(dir / "q.ini"));
}

TEST(WriteOptionsFile, WritesTheBlockAndIsRepeatable) {
    ScratchFolder dir;
    const Project project = projectWithVideo("/v/a.mp4");
    const OptionsWriteResult first = writeOptionsFile(dir / "q.ini", project, true);
    EXPECT_TRUE(first.written);
    EXPECT_FALSE(first.message.has_value());
    const std::string bytes = readBytes(dir / "q.ini");
    EXPECT_EQ(bytes, optionsFileText(project.options).bytes);
    ASSERT_TRUE(writeOptionsFile(dir / "q.ini", project, false).written);
    EXPECT_EQ(readBytes(dir / "q.ini"), bytes);
}

TEST(WriteOptionsFile, CreatesAMissingConfigFolder) {
    ScratchFolder dir;
    const fs::path path = dir / "config" / "quillmark" / "quillmark.ini";
    EXPECT_TRUE(writeOptionsFile(path, projectWithVideo("/v/a.mp4"), false).written);
    EXPECT_TRUE(fs::is_regular_file(path));
}

TEST(WriteOptionsFile, FailuresAreReportedWithThePath) {
    ScratchFolder dir;
    writeBytes(dir / "file", "x");
    const fs::path path = dir / "file" / "q.ini"; // a file stands where the folder should be
    const OptionsWriteResult result = writeOptionsFile(path, projectWithVideo("/v/a.mp4"), true);
    EXPECT_FALSE(result.written);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->path, pathText(path));
}

TEST(WriteOptionsFile, TextOutsideTheCodePageRoundTripsAndAReadOnlyFileIsKept) {
    ScratchFolder dir;
    Project project = projectWithVideo("/v/a.mp4");
    project.options.htmlTitle = "Entrée du musée 日本";
    ASSERT_TRUE(writeOptionsFile(dir / "q.ini", project, true).written);
    PlayerOptions loaded = PlayerOptions::fresh("/other");
    ASSERT_TRUE(readOptionsFile(dir / "q.ini", loaded, "/cwd").applied);
    EXPECT_EQ(loaded, project.options);

    const std::string before = readBytes(dir / "q.ini");
    fs::permissions(dir / "q.ini", fs::perms::owner_read);
    const OptionsWriteResult refused = writeOptionsFile(dir / "q.ini", project, true);
    EXPECT_FALSE(refused.written);
    ASSERT_TRUE(refused.error.has_value());
    EXPECT_EQ(refused.error->reason, "the file is read-only");
    EXPECT_EQ(readBytes(dir / "q.ini"), before);
}

TEST(ReadOptionsFile, RoundTripThroughTheFile) {
    ScratchFolder dir;
    Project project = projectWithVideo("/v/a.mp4");
    project.options.htmlTitle = "Экскурсия";
    project.options.setItem(Choice::Tilt, 13);
    project.options.hsIcons[2] = 215;
    ASSERT_TRUE(writeOptionsFile(dir / "q.ini", project, true).written);
    PlayerOptions loaded = PlayerOptions::fresh("/other");
    const OptionsReadResult read = readOptionsFile(dir / "q.ini", loaded, "/cwd");
    EXPECT_TRUE(read.applied);
    EXPECT_EQ(loaded, project.options);
}

TEST(ReadOptionsFile, MissingFileChangesNothingAndIsNoError) {
    ScratchFolder dir;
    PlayerOptions options = PlayerOptions::fresh("/start");
    const OptionsReadResult read = readOptionsFile(dir / "none.ini", options, "/cwd");
    EXPECT_FALSE(read.applied);
    EXPECT_FALSE(read.error.has_value());
    EXPECT_EQ(options, PlayerOptions::fresh("/start"));
}

TEST(ReadOptionsFile, UnreadableFileChangesNothingAndSaysWhy) {
    ScratchFolder dir;
    writeBytes(dir / "big.ini", "<WINDOW>5</WINDOW>" + std::string(kMaxTextFileBytes, ' '));
    fs::create_directory(dir / "folder.ini");
    for (const fs::path& path : {dir / "big.ini", dir / "folder.ini"}) {
        PlayerOptions options = PlayerOptions::fresh("/start");
        const OptionsReadResult read = readOptionsFile(path, options, "/cwd");
        EXPECT_FALSE(read.applied);
        ASSERT_TRUE(read.error.has_value());
        EXPECT_EQ(read.error->path, pathText(path));
        EXPECT_EQ(options, PlayerOptions::fresh("/start"));
    }
}

TEST(ReadOptionsFile, EmptyFileAppliesTheMissingTagRules) {
    ScratchFolder dir;
    writeBytes(dir / "q.ini", "");
    PlayerOptions options = PlayerOptions::fresh("/start");
    EXPECT_TRUE(readOptionsFile(dir / "q.ini", options, "/cwd").applied);
    EXPECT_EQ(options.item(Choice::Window), 0);
    EXPECT_EQ(options.tooltipHelp, 0);
    EXPECT_EQ(options.loadDir, "/cwd");
}

TEST(OptionsFileLocation, BesideAWritableExecutable) {
    ScratchFolder dir;
    const fs::path exe = dir / "bin" / "quillmark";
    const OptionsFileLocation none = optionsFileLocation(exe, true, "", "/home/u");
    EXPECT_EQ(none.writePath, dir / "bin" / "quillmark.ini");
    EXPECT_FALSE(none.readPath.has_value());

    const fs::path renamed = dir / "bin" / "tour.exe";
    EXPECT_EQ(optionsFileLocation(renamed, true, "", "/home/u").writePath,
              dir / "bin" / "tour.ini");
}

TEST(OptionsFileLocation, ConfigFolderWhenTheExecutableFolderIsReadOnly) {
    ScratchFolder dir;
    const fs::path exe = dir / "bin" / "quillmark";
    EXPECT_EQ(optionsFileLocation(exe, false, (dir / "xdg").string(), "/home/u").writePath,
              dir / "xdg" / "quillmark" / "quillmark.ini");
    EXPECT_EQ(optionsFileLocation(exe, false, "", (dir / "home").string()).writePath,
              dir / "home" / ".config" / "quillmark" / "quillmark.ini");
}

TEST(OptionsFileLocation, ReadsTheWritePlaceFirstThenTheOther) {
    ScratchFolder dir;
    const fs::path exe = dir / "bin" / "quillmark";
    const fs::path beside = dir / "bin" / "quillmark.ini";
    const fs::path config = dir / "xdg" / "quillmark" / "quillmark.ini";
    fs::create_directories(beside.parent_path());
    fs::create_directories(config.parent_path());
    writeBytes(beside, "b");
    EXPECT_EQ(optionsFileLocation(exe, false, (dir / "xdg").string(), "").readPath, beside);
    writeBytes(config, "c");
    EXPECT_EQ(optionsFileLocation(exe, false, (dir / "xdg").string(), "").readPath, config);
    EXPECT_EQ(optionsFileLocation(exe, true, (dir / "xdg").string(), "").readPath, beside);
}

TEST(OptionsFileLocation, ProbesTheRealExecutableFolder) {
    ScratchFolder dir;
    const OptionsFileLocation location = optionsFileLocation(dir / "quillmark");
    EXPECT_EQ(location.writePath, dir / "quillmark.ini");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 0); // the write probe is gone
}

} // namespace
} // namespace qm
