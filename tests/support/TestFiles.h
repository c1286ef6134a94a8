#pragma once
// What every test folder shares: a scratch folder per test, removed
// afterwards, and whole-file reads and writes.

#include <filesystem>
#include <initializer_list>
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
// Creates the folders on the way.
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

// The lines joined with CR LF after each one.
std::string crlfLines(std::initializer_list<std::string_view> lines);

} // namespace qm::test
