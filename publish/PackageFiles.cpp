#include "publish/PackageFiles.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <system_error>

namespace qm {
namespace fs = std::filesystem;

namespace {

FileFailure failure(const fs::path& path, const std::error_code& code) {
    return {path.string(), code.message()};
}

FileFailure failureFromErrno(const fs::path& path) {
    return failure(path, std::error_code(errno, std::generic_category()));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A fresh name in the target's folder; "x" mode refuses names that exist,
// so two writers never share a temporary file.
struct TempFile {
    fs::path path;
    FileHandle handle;
};

fs::path tempCandidate(const fs::path& target, std::mt19937_64& random) {
    constexpr std::string_view digits = "0123456789abcdef";
    std::string suffix = ".qmtmp-";
    std::uint64_t value = random();
    for (int i = 0; i < 12; ++i) {
        suffix += digits[value & 0xF];
        value >>= 4;
    }
    fs::path candidate = target;
    candidate += suffix;
    return candidate;
}

std::optional<TempFile> createTemp(const fs::path& target, FileResult& error) {
    std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path candidate = tempCandidate(target, random);
        errno = 0;
        FileHandle handle{std::fopen(candidate.c_str(), "wbx")};
        if (handle) {
            return TempFile{std::move(candidate), std::move(handle)};
        }
        if (errno != EEXIST) {
            error = failureFromErrno(target);
            return std::nullopt;
        }
    }
    error = failure(target, std::make_error_code(std::errc::file_exists));
    return std::nullopt;
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

} // namespace

FileResult writeFileReplacing(const fs::path& path, std::span<const std::byte> bytes) {
    FileResult error;
    std::optional<TempFile> temp = createTemp(path, error);
    if (!temp) {
        return error;
    }
    const std::size_t written =
        bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), temp->handle.get());
    errno = 0;
    const bool flushed = written == bytes.size() && std::fflush(temp->handle.get()) == 0;
    const int savedErrno = errno;
    const int closed = std::fclose(temp->handle.release());
    if (!flushed || closed != 0) {
        const int code = savedErrno != 0 ? savedErrno : (errno != 0 ? errno : EIO);
        removeQuietly(temp->path);
        return failure(path, std::error_code(code, std::generic_category()));
    }
    return renameIntoPlace(temp->path, path);
}

FileResult writeFileReplacing(const fs::path& path, std::string_view text) {
    return writeFileReplacing(path, std::as_bytes(std::span(text.data(), text.size())));
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
    std::error_code code;
    if (!fs::is_regular_file(from, code)) {
        return failure(from,
                       code ? code : std::make_error_code(std::errc::no_such_file_or_directory));
    }
    if (fs::exists(to, code) && fs::equivalent(from, to, code)) {
        return std::nullopt;
    }
    // The copy creates its own fresh temporary name (O_EXCL). Copying into a
    // file that already exists, even an empty one, truncates it first, and
    // ext4 then flushes the whole video to disk when it is closed.
    std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path temp = tempCandidate(to, random);
        fs::copy_file(from, temp, fs::copy_options::none, code);
        if (!code) {
            return renameIntoPlace(temp, to);
        }
        if (code != std::errc::file_exists) {
            removeQuietly(temp);
            return failure(to, code);
        }
    }
    return failure(to, std::make_error_code(std::errc::file_exists));
}

ReadResult readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {{}, failureFromErrno(path)};
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return {{}, failure(path, std::make_error_code(std::errc::io_error))};
    }
    return {std::move(bytes), std::nullopt};
}

} // namespace qm
