#pragma once
// The progress of the video copies on a terminal: bytes done of all, the rate
// and the time left, redrawn in place a few times a second. Nothing is written
// when the output is not a terminal, so logs and pipes stay clean.

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace qm::cli {

// "Copying videos: 412.0 MB of 1.55 GB (26 %), 310.2 MB/s, 0:04 left"; the
// rate and the time left only once a moment has passed.
std::string progressText(std::uint64_t done, std::uint64_t total, double seconds);

class ProgressLine {
  public:
    ProgressLine(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
    void show(std::uint64_t done, std::uint64_t total);

  private:
    using Clock = std::chrono::steady_clock;
    std::ostream& out_;
    bool terminal_;
    bool started_ = false;
    Clock::time_point start_;
    Clock::time_point drawn_;
    std::size_t width_ = 0;
};

} // namespace qm::cli
