#include "persist/FileIo.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace qm {
namespace {

using test::readBytes;
using test::ScratchFolder;
using test::writeBytes;

bool runningAsRoot() {
    return geteuid() == 0;
}

TEST(ReadWholeFile, ReadsEveryByteIncludingNuls) {
    ScratchFolder dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    writeBytes(dir / "f", bytes);
    const FileRead read = readWholeFile(dir / "f");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, bytes);
}

TEST(ReadWholeFile, FailuresCarryPathAndReason) {
    ScratchFolder dir;
    const FileRead missing = readWholeFile(dir / "none");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error->path, pathText(dir / "none"));
    EXPECT_FALSE(missing.error->reason.empty());

    const FileRead folder = readWholeFile(dir.path());
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error->path, pathText(dir.path()));
}

TEST(ReadWholeFile, RefusesFilesAboveTheCap) {
    ScratchFolder dir;
    writeBytes(dir / "big", std::string(101, 'x'));
    const FileRead read = readWholeFile(dir / "big", 100);
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(read.bytes.empty());
    EXPECT_NE(read.error->reason.find("larger than 100 bytes"), std::string::npos);
    writeBytes(dir / "fits", std::string(100, 'x'));
    EXPECT_TRUE(readWholeFile(dir / "fits", 100).ok());
}

TEST(ReadWholeFile, PipesAndDevicesAreRefusedWithoutBlocking) {
    ScratchFolder dir;
    const std::filesystem::path fifo = dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const FileRead pipe = readWholeFile(fifo); // opening it would wait for a writer
    ASSERT_FALSE(pipe.ok());
    EXPECT_EQ(pipe.error->path, pathText(fifo));
    const FileRead endless = readWholeFile("/dev/zero", 4096);
    ASSERT_FALSE(endless.ok());
    EXPECT_TRUE(endless.bytes.empty());
}

TEST(WriteFileAtomically, CreatesAndReplacesWithoutLeftovers) {
    ScratchFolder dir;
    EXPECT_EQ(writeFileAtomically(dir / "f.txt", "first"), std::nullopt);
    EXPECT_EQ(readBytes(dir / "f.txt"), "first");
    EXPECT_EQ(writeFileAtomically(dir / "f.txt", "second, longer"), std::nullopt);
    EXPECT_EQ(readBytes(dir / "f.txt"), "second, longer");
    EXPECT_EQ(writeFileAtomically(dir / "f.txt", ""), std::nullopt);
    EXPECT_EQ(readBytes(dir / "f.txt"), "");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(WriteFileAtomically, KeepsThePermissionsOfTheReplacedFile) {
    ScratchFolder dir;
    writeBytes(dir / "f", "old");
    namespace fs = std::filesystem;
    fs::permissions(dir / "f", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(writeFileAtomically(dir / "f", "new"), std::nullopt);
    EXPECT_EQ(fs::status(dir / "f").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(WriteFileAtomically, MissingFolderIsReportedWithThePath) {
    ScratchFolder dir;
    const auto error = writeFileAtomically(dir / "no" / "such" / "f", "x");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->path, pathText(dir / "no" / "such" / "f"));
    EXPECT_FALSE(error->reason.empty());
}

TEST(WriteFileAtomically, FailedWriteLeavesTheOldFileAsItWas) {
    if (runningAsRoot()) {
        GTEST_SKIP() << "root may write into a read-only folder";
    }
    ScratchFolder dir;
    namespace fs = std::filesystem;
    fs::create_directory(dir / "ro");
    writeBytes(dir / "ro" / "f", "old content");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    const auto error = writeFileAtomically(dir / "ro" / "f", "new");
    fs::permissions(dir / "ro", fs::perms::owner_all);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(readBytes(dir / "ro" / "f"), "old content");
}

// A file size limit makes the write itself fail, for root as well.
TEST(WriteFileAtomically, FailedWriteMidwayLeavesTheOldFileAsItWas) {
    ScratchFolder dir;
    writeBytes(dir / "f", "old content");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto error = writeFileAtomically(dir / "f", std::string(100000, 'n'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->path, pathText(dir / "f"));
    EXPECT_EQ(readBytes(dir / "f"), "old content");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1); // the temporary file is gone
}

TEST(WriteFileAtomically, WritesThroughASymbolicLink) {
    ScratchFolder dir;
    std::filesystem::create_directory(dir / "real");
    writeBytes(dir / "real" / "q.ini", "old");
    std::filesystem::create_symlink("real/q.ini", dir / "q.ini");
    ASSERT_EQ(writeFileAtomically(dir / "q.ini", "new"), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "q.ini"));
    EXPECT_EQ(readBytes(dir / "real" / "q.ini"), "new");
}

TEST(WriteFileAtomically, AFolderInTheWayIsAnError) {
    ScratchFolder dir;
    std::filesystem::create_directory(dir / "taken");
    EXPECT_TRUE(writeFileAtomically(dir / "taken", "x").has_value());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
}

} // namespace
} // namespace qm
