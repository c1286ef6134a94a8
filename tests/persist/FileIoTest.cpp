#include "persist/FileIo.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace qm {
namespace {

using test::readBytes;
using test::ScratchFolder;
using test::writeBytes;

bool runningAsRoot() {
    return geteuid() == 0;
}

int entriesIn(const std::filesystem::path& folder) {
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

// From now on every rename of this process fails with EBUSY, for root as
// well: a seccomp filter answers the rename calls in place of the kernel.
bool refuseRenames() {
    const std::vector<long> calls = {
#ifdef SYS_rename
        SYS_rename,
#endif
        SYS_renameat, SYS_renameat2};
    const auto n = static_cast<unsigned char>(calls.size());
    std::vector<sock_filter> program = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (unsigned char i = 0; i < n; ++i) {
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(calls[i]),
                                   static_cast<unsigned char>(n - i), 0));
    }
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EBUSY));
    const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
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
    EXPECT_EQ(entriesIn(dir.path()), 1);
}

// The new content arrives by renaming: a reader that opened the old file
// reads the old content to its end, never a part of the new one.
TEST(WriteFileAtomically, AnOpenReaderKeepsTheWholeOldContent) {
    ScratchFolder dir;
    writeBytes(dir / "f", "old content");
    std::ifstream reader(dir / "f", std::ios::binary);
    ASSERT_EQ(writeFileAtomically(dir / "f", "new"), std::nullopt);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old content");
    EXPECT_EQ(readBytes(dir / "f"), "new");
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
    EXPECT_EQ(entriesIn(dir.path()), 1); // the temporary file is gone
}

// The final rename refused: a child process reports what the save said.
TEST(WriteFileAtomically, FailedRenameIsReportedAndLeavesNoTemporary) {
    ScratchFolder dir;
    writeBytes(dir / "f", "old content");
    EXPECT_EXIT(
        {
            const bool refused = refuseRenames();
            const auto error = writeFileAtomically(dir / "f", "new");
            std::cerr << (!refused ? "no filter" : error ? "error at " + error->path : "success");
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "error at .*/f$");
    EXPECT_EQ(readBytes(dir / "f"), "old content");
    EXPECT_EQ(entriesIn(dir.path()), 1);
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
