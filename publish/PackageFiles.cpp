#include "publish/PackageFiles.h"

#include <cstdint>
#include <random>
#include <system_error>

namespace qm {
namespace fs = std::filesystem;

namespace {

FileError failure(const fs::path& path, const std::error_code& code) {
    return {pathText(path), code.message()};
}

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

} // namespace qm
