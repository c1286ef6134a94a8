#include "publish/PackageFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

FileResult renameIntoPlace(const fs::path& temp, const fs::path& target) {
    std::error_code code;
    fs::rename(temp, target, code);
    if (code) {
        removeQuietly(temp);
        return failure(target, code);
    }
    return std::nullopt;
}

// Errors of an in-kernel copy that can only be the target's.
bool isTargetError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS;
}

// Copies from the files' current offsets to the end of the source. The
// kernel copies on its own where it can; any other error of its copy is met
// again by plain reads and writes, which tell the source's from the target's.
FileResult copyBytes(int from, int to, const fs::path& source, const fs::path& target) {
    constexpr std::size_t kKernelChunk = 64u << 20;
    while (true) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, kKernelChunk, 0);
        if (copied == 0) {
            return std::nullopt;
        }
        if (copied < 0 && errno != EINTR) {
            if (isTargetError(errno)) {
                return errnoFailure(target, errno);
            }
            break;
        }
    }
    std::vector<char> buffer(1u << 20);
    while (true) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got == 0) {
            return std::nullopt;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errnoFailure(source, errno);
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put =
                ::write(to, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return errnoFailure(target, put < 0 ? errno : EIO);
            }
            done += put;
        }
    }
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

FileResult copyFileReplacing(const fs::path& from, const fs::path& to) {
    const Descriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat sourceInfo {};
    if (!source || ::fstat(source.get(), &sourceInfo) != 0) {
        return errnoFailure(from, errno);
    }
    if (!S_ISREG(sourceInfo.st_mode)) {
        return FileError{pathText(from), std::string(kNotRegularFile)};
    }
    struct stat targetInfo {};
    if (::stat(to.c_str(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev &&
        targetInfo.st_ino == sourceInfo.st_ino) {
        return std::nullopt;
    }
    // The copy goes to a fresh temporary name (O_EXCL). Copying into a file
    // that already exists, even an empty one, truncates it first, and ext4
    // then flushes the whole video to disk when it is closed.
    std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path temp = tempCandidate(to, random);
        Descriptor target(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!target) {
            if (errno == EEXIST) {
                continue;
            }
            return errnoFailure(to, errno);
        }
        FileResult failed = copyBytes(source.get(), target.get(), from, to);
        if (!failed && !target.close()) {
            failed = errnoFailure(to, errno);
        }
        if (failed) {
            removeQuietly(temp);
            return failed;
        }
        return renameIntoPlace(temp, to);
    }
    return failure(to, std::make_error_code(std::errc::file_exists));
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
