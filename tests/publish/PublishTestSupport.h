#pragma once
// Shared helpers of the publisher tests: a scratch folder that cleans up after
// itself, whole-file reads and a few hand-built projects.

#include "model/PlayerOptions.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace qm::test {

class ScratchDir {
  public:
    ScratchDir() {
        std::mt19937_64 random{std::random_device{}()};
        path_ = std::filesystem::temp_directory_path() /
                ("qm-publish-test-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Published values of an options record (may reset a too small manual size).
inline PublishedOptions published(PlayerOptions options) {
    return resolvePublishedOptions(options).values;
}

} // namespace qm::test
