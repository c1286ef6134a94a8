#include "persist/FileIo.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

namespace qm {
namespace {

namespace fs = std::filesystem;

FileError errorOf(const fs::path& path, std::string reason) {
    return FileError{pathText(path), std::move(reason)};
}

FileError tooLarge(const fs::path& path, std::size_t maxBytes) {
    return errorOf(path, "the file is larger than " + std::to_string(maxBytes) +
                             " bytes, too large for an options or project file");
}

std::string lastErrnoText() {
    return std::generic_category().message(errno);
}

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTemporaryLetters = 8;

// A name in the target's folder that no file holds yet.
std::optional<fs::path> freshTemporaryPath(const fs::path& target) {
    std::random_device entropy;
    std::mt19937_64 generator(entropy());
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string suffix(kTemporaryMark);
        for (std::size_t i = 0; i < kTemporaryLetters; ++i) {
            suffix += kAlphabet[pick(generator)];
        }
        const fs::path candidate = temporaryPathBeside(target, suffix);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) {
            return candidate;
        }
    }
    return std::nullopt;
}

enum class Durability { Replaced, Flushed };

class OpenFile {
  public:
    explicit OpenFile(int fd) : fd_(fd) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now, so that a failure to close can be reported.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

std::optional<FileError> writeWholeFile(const fs::path& path, std::string_view bytes,
                                        Durability durability) {
    OpenFile file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        return errorOf(path, "cannot create the file: " + lastErrnoText());
    }
    if (const int error = writeAllBytes(file.get(), bytes); error != 0) {
        errno = error;
        return errorOf(path, "cannot write the file: " + lastErrnoText());
    }
    if (durability == Durability::Flushed && ::fsync(file.get()) != 0) {
        return errorOf(path, "cannot flush the file to disk: " + lastErrnoText());
    }
    if (!file.close()) {
        return errorOf(path, "cannot close the file: " + lastErrnoText());
    }
    return std::nullopt;
}

// The rename itself reaches the disk only with its folder. A file system
// that cannot flush folders (EINVAL) offers nothing more to do.
std::optional<FileError> flushFolderOf(const fs::path& file, const fs::path& reported) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    OpenFile handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.get() < 0 || (::fsync(handle.get()) != 0 && errno != EINVAL)) {
        return errorOf(reported, "the file was replaced, but its folder cannot be flushed to "
                                 "disk: " +
                                     lastErrnoText());
    }
    return std::nullopt;
}

void keepPermissionsOf(const fs::path& existing, const fs::path& replacement) {
    std::error_code ec;
    const fs::file_status status = fs::status(existing, ec);
    if (!ec && fs::is_regular_file(status)) {
        fs::permissions(replacement, status.permissions(), fs::perm_options::replace, ec);
    }
}

// A symbolic link is written through, so that a linked options file stays linked.
fs::path linkTarget(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) {
        return path;
    }
    const fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

std::optional<FileError> replaceFile(const fs::path& path, std::string_view bytes,
                                     Durability durability) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        return errorOf(path, "a folder of that name exists");
    }
    const fs::path target = linkTarget(path);
    if (std::optional<FileError> refused = refuseUnwritableFile(target)) {
        refused->path = pathText(path);
        return refused;
    }
    const std::optional<fs::path> temporary = freshTemporaryPath(target);
    if (!temporary) {
        return errorOf(path, "cannot find a free temporary file name in its folder");
    }
    if (std::optional<FileError> error = writeWholeFile(*temporary, bytes, durability)) {
        fs::remove(*temporary, ec);
        error->path = pathText(path);
        return error;
    }
    keepPermissionsOf(target, *temporary);
    fs::rename(*temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(*temporary, ignored);
        return errorOf(path, "cannot replace the file: " + ec.message());
    }
    return durability == Durability::Flushed ? flushFolderOf(target, path) : std::nullopt;
}

} // namespace

fs::path temporaryPathBeside(const fs::path& target, std::string_view suffix) {
    std::string name = target.filename().string();
    if (name.size() + suffix.size() > kMaxFileNameBytes && suffix.size() < kMaxFileNameBytes) {
        name.resize(kMaxFileNameBytes - suffix.size());
    }
    return target.parent_path() / (name + std::string(suffix));
}

bool isTemporaryFileName(std::string_view name) {
    const std::size_t suffix = kTemporaryMark.size() + kTemporaryLetters;
    return name.size() > suffix &&
           name.substr(name.size() - suffix, kTemporaryMark.size()) == kTemporaryMark &&
           name.find_first_not_of(kAlphabet, name.size() - kTemporaryLetters) ==
               std::string_view::npos;
}

int writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileRead readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        return {{}, errorOf(path, "the file does not exist")};
    }
    if (fs::is_directory(status)) {
        return {{}, errorOf(path, "this is a folder, not a file")};
    }
    // A pipe or a device could block the reader forever or never end.
    if (!fs::is_regular_file(status)) {
        return {{}, errorOf(path, "this is not a regular file")};
    }
    if (fs::file_size(path, ec) > maxBytes && !ec) {
        return {{}, tooLarge(path, maxBytes)};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {{}, errorOf(path, "cannot open the file: " + lastErrnoText())};
    }
    // Read in chunks rather than trusting the reported size: the file may
    // grow while it is read.
    std::string bytes;
    std::array<char, 16384> chunk{};
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (bytes.size() + got > maxBytes) {
            return {{}, tooLarge(path, maxBytes)};
        }
        bytes.append(chunk.data(), got);
    }
    if (in.bad()) {
        return {{}, errorOf(path, "cannot read the file: " + lastErrnoText())};
    }
    return {std::move(bytes), std::nullopt};
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::string_view bytes) {
    return replaceFile(path, bytes, Durability::Replaced);
}

std::optional<FileError> writeFileDurably(const std::filesystem::path& path,
                                          std::string_view bytes) {
    return replaceFile(path, bytes, Durability::Flushed);
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::span<const std::byte> bytes) {
    return writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<FileError> refuseUnwritableFile(const std::filesystem::path& path) {
    // No write bit at all is the user's "read-only", held even against root,
    // whom the system would let write.
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (!ec && fs::is_regular_file(status) &&
        (status.permissions() & kAnyWrite) == fs::perms::none) {
        return errorOf(path, "the file is read-only");
    }
    if (::access(path.c_str(), W_OK) == 0) {
        return std::nullopt;
    }
    // A missing file is created; other failures show in the write itself.
    if (errno != EACCES && errno != EPERM && errno != EROFS) {
        return std::nullopt;
    }
    return errorOf(path, "cannot write the file: " + lastErrnoText());
}

} // namespace qm
