#include "app/cli/ProgressLine.h"

#include <cstdio>

namespace qm::cli {
namespace {

std::string bytesText(double bytes) {
    char text[32];
    if (bytes >= 1e9) {
        std::snprintf(text, sizeof text, "%.2f GB", bytes / 1e9);
    } else {
        std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
    }
    return text;
}

std::string clockText(double seconds) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

} // namespace

std::string progressText(std::uint64_t done, std::uint64_t total, double seconds) {
    const double share = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
    std::string text = "Copying videos: " + bytesText(static_cast<double>(done)) + " of " +
                       bytesText(static_cast<double>(total)) + " (" +
                       std::to_string(static_cast<int>(share * 100)) + " %)";
    if (seconds >= 0.2 && done > 0) {
        const double rate = static_cast<double>(done) / seconds;
        text += ", " + bytesText(rate) + "/s";
        if (done < total) {
            text += ", " + clockText(static_cast<double>(total - done) / rate) + " left";
        }
    }
    return text;
}

void ProgressLine::show(std::uint64_t done, std::uint64_t total) {
    if (!terminal_) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (!started_) {
        started_ = true;
        start_ = now;
    } else if (done < total && now - drawn_ < std::chrono::milliseconds(200)) {
        return;
    }
    drawn_ = now;
    const std::string text =
        progressText(done, total, std::chrono::duration<double>(now - start_).count());
    // Blanks cover the rest of a longer line drawn before.
    out_ << '\r' << text << std::string(width_ > text.size() ? width_ - text.size() : 0, ' ');
    width_ = text.size();
    if (done >= total) {
        out_ << '\n';
    }
    out_.flush();
}

} // namespace qm::cli
