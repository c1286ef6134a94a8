#pragma once
// A scratch folder per test, removed afterwards, and small file helpers.

#include <filesystem>
#include <string>
#include <string_view>

namespace qm::test {

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

// The lines joined with CR LF after each one.
std::string crlfLines(std::initializer_list<std::string_view> lines);

// The options block of a tool started in /start without an options file,
// after choosing /videos/tour.mp4: every line written out.
std::string defaultOptionsBlock();

} // namespace qm::test
