#include "publish/PackageFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

namespace qm {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCopyMark = ".qmtmp-";
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::size_t kCopyDigits = 12;

FileError failure(const fs::path& path, const std::error_code& code) {
    return {pathText(path), code.message()};
}

FileError errnoFailure(const fs::path& path, int error) {
    return failure(path, std::error_code(error, std::generic_category()));
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now, so that a failure to close can be reported.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

fs::path tempCandidate(const fs::path& target, std::mt19937_64& random) {
    std::string suffix(kCopyMark);
    std::uint64_t value = random();
    for (std::size_t i = 0; i < kCopyDigits; ++i) {
        suffix += kHexDigits[value & 0xF];
        value >>= 4;
    }
    return temporaryPathBeside(target, suffix);
}

bool isCopyTemporaryName(std::string_view name) {
    const std::size_t suffix = kCopyMark.size() + kCopyDigits;
    return name.size() > suffix &&
           name.substr(name.size() - suffix, kCopyMark.size()) == kCopyMark &&
           name.find_first_not_of(kHexDigits, name.size() - kCopyDigits) == std::string_view::npos;
}

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

// Errors of an in-kernel copy that can only be the target's.
bool isTargetError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS;
}

bool writeAll(int to, std::string_view bytes, const fs::path& target, FileResult& failed) {
    if (const int error = writeAllBytes(to, bytes); error != 0) {
        failed = errnoFailure(target, error);
        return false;
    }
    return true;
}

// Copies the byte ranges of one source a step at a time. The kernel copies on
// its own where it can; any other error of its copy is met again by plain
// reads and writes, which tell the source's from the target's.
class RangeCopier {
  public:
    RangeCopier(int from, int to, const fs::path& source, const fs::path& target)
        : from_(from), to_(to), source_(source), target_(target) {}

    // Bytes copied from offset on, at most want; 0 when the source ended or failed.
    std::size_t step(std::uint64_t offset, std::size_t want, FileResult& failed) {
        while (kernel_) {
            auto at = static_cast<off_t>(offset);
            const ssize_t copied = ::copy_file_range(from_, &at, to_, nullptr, want, 0);
            if (copied >= 0) {
                return static_cast<std::size_t>(copied);
            }
            if (errno == EINTR) {
                continue;
            }
            if (isTargetError(errno)) {
                failed = errnoFailure(target_, errno);
                return 0;
            }
            kernel_ = false;
        }
        buffer_.resize(1u << 20);
        ssize_t got = 0;
        do {
            got = ::pread(from_, buffer_.data(), std::min(want, buffer_.size()),
                          static_cast<off_t>(offset));
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            failed = errnoFailure(source_, errno);
            return 0;
        }
        const std::string_view bytes(buffer_.data(), static_cast<std::size_t>(got));
        return writeAll(to_, bytes, target_, failed) ? bytes.size() : 0;
    }

  private:
    int from_;
    int to_;
    const fs::path& source_;
    const fs::path& target_;
    bool kernel_ = true;
    std::vector<char> buffer_;
};

// Large enough that the calls cost nothing against the copy, small enough
// that progress moves several times a second even on a slow stick.
constexpr std::size_t kCopyStep = 8u << 20;

// One piece appended to the target; false when cancelled or failed.
bool copyPiece(const FilePiece& piece, int to, const fs::path& target, std::uint64_t& done,
               const ByteProgress& progress, FileResult& failed) {
    if (piece.source.empty()) {
        if (!writeAll(to, piece.bytes, target, failed)) {
            return false;
        }
        done += piece.bytes.size();
        return true;
    }
    const Descriptor from(::open(piece.source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!from) {
        failed = errnoFailure(piece.source, errno);
        return false;
    }
    RangeCopier copier(from.get(), to, piece.source, target);
    for (std::uint64_t offset = piece.offset, end = piece.offset + piece.length; offset < end;) {
        const std::size_t copied = copier.step(
            offset, static_cast<std::size_t>(std::min<std::uint64_t>(end - offset, kCopyStep)),
            failed);
        if (copied == 0) {
            if (!failed) {
                failed = FileError{pathText(piece.source), std::string(kEndedEarly)};
            }
            return false;
        }
        offset += copied;
        done += copied;
        if (progress && !progress(done)) {
            return false;
        }
    }
    return true;
}

} // namespace

FileResult checkSourceFile(const fs::path& path) {
    // Non-blocking, so that a pipe cannot hold the check.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!file || ::fstat(file.get(), &info) != 0) {
        return errnoFailure(path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return FileError{pathText(path), std::string(kNotRegularFile)};
    }
    return std::nullopt;
}

FileResult checkOutputPath(const fs::path& path, PathKind kind) {
    for (const fs::path& name : path) {
        if (name.native().size() > kMaxFileNameBytes) {
            return failure(path, std::make_error_code(std::errc::filename_too_long));
        }
    }
    if (path.native().size() >= PATH_MAX) {
        return failure(path, std::make_error_code(std::errc::filename_too_long));
    }
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (kind == PathKind::File && fs::is_directory(status)) {
        return FileError{pathText(path), std::string(kFolderInTheWay)};
    }
    if (kind == PathKind::File) {
        return refuseUnwritableFile(path);
    }
    if (kind == PathKind::Folder && fs::exists(status) && !fs::is_directory(status)) {
        return failure(path, std::make_error_code(std::errc::not_a_directory));
    }
    return std::nullopt;
}

FileResult ensureFolder(const fs::path& folder) {
    std::error_code code;
    if (fs::is_directory(folder, code)) {
        return std::nullopt;
    }
    fs::create_directories(folder, code);
    if (code) {
        return failure(folder, code);
    }
    if (!fs::is_directory(folder, code)) {
        return failure(folder, std::make_error_code(std::errc::not_a_directory));
    }
    return std::nullopt;
}

fs::path copyTemporaryBeside(const fs::path& target) {
    std::mt19937_64 random{std::random_device{}()};
    return tempCandidate(target, random);
}

AssembleResult assembleFile(const fs::path& target, const std::vector<FilePiece>& pieces,
                            const ByteProgress& progress) {
    // A fresh file (O_EXCL): writing into one that exists, even an empty one,
    // truncates it first, and ext4 then flushes the whole video when it is closed.
    Descriptor to(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!to) {
        return {AssembleStatus::Failed, errnoFailure(target, errno)};
    }
    FileResult failed;
    std::uint64_t done = 0;
    for (const FilePiece& piece : pieces) {
        if (!copyPiece(piece, to.get(), target, done, progress, failed)) {
            removeQuietly(target);
            return {failed ? AssembleStatus::Failed : AssembleStatus::Cancelled, failed};
        }
    }
    // Closing reports the write errors a file system may keep until then.
    if (!to.close()) {
        failed = errnoFailure(target, errno);
        removeQuietly(target);
        return {AssembleStatus::Failed, failed};
    }
    return {};
}

void removeLeftoverTemporaries(const fs::path& folder) {
    std::error_code code;
    for (fs::directory_iterator entry(folder, code), end; !code && entry != end;
         entry.increment(code)) {
        const std::string name = entry->path().filename().string();
        std::error_code statusCode;
        if ((isCopyTemporaryName(name) || isTemporaryFileName(name)) &&
            entry->symlink_status(statusCode).type() == fs::file_type::regular) {
            removeQuietly(entry->path());
        }
    }
}

} // namespace qm
