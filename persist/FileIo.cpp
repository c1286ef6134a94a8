#include "persist/FileIo.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

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

// A name in the target's folder that no file holds yet.
std::optional<fs::path> freshTemporaryPath(const fs::path& target) {
    std::random_device entropy;
    std::mt19937_64 generator(entropy());
    constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string suffix = ".tmp-";
        for (int i = 0; i < 8; ++i) {
            suffix += kAlphabet[pick(generator)];
        }
        fs::path candidate = target;
        candidate += suffix;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<FileError> writeWholeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return errorOf(path, "cannot create the file: " + lastErrnoText());
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        return errorOf(path, "cannot write the file: " + lastErrnoText());
    }
    out.close();
    if (!out) {
        return errorOf(path, "cannot close the file: " + lastErrnoText());
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

} // namespace

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
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        return errorOf(path, "a folder of that name exists");
    }
    const fs::path target = linkTarget(path);
    const std::optional<fs::path> temporary = freshTemporaryPath(target);
    if (!temporary) {
        return errorOf(path, "cannot find a free temporary file name in its folder");
    }
    if (std::optional<FileError> error = writeWholeFile(*temporary, bytes)) {
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
    return std::nullopt;
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::span<const std::byte> bytes) {
    return writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace qm
