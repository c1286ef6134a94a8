#pragma once
// What will go wrong with a video on the web, each finding with a level and a
// plain sentence that says what will happen and what to do, in English (the
// command line) and Russian (the window).

#include "media/MediaProbe.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm::media {

// Error: the video will not play for most viewers; Warning: it will play
// badly or for some viewers not at all; Note: publishing fixes it.
enum class Level { Error, Warning, Note };

enum class Language { English, Russian };

struct Finding {
    Level level = Level::Note;
    std::string code; // stable name for scripts: "codec", "not-2-to-1", ...
    std::string english;
    std::string russian;

    const std::string& text(Language language) const {
        return language == Language::Russian ? russian : english;
    }
};

// What publishing will do to the copy of the video (from planVideoCopy).
struct PublishFixes {
    bool indexMoved = false;
    bool servedAsMp4 = false;
};

// Above this a viewer's connection must be very fast.
inline constexpr double kHighBitRateMbps = 40;

std::vector<Finding> findingsFor(const std::filesystem::path& video, const ProbeReport& report,
                                 const PublishFixes& fixes);

std::string_view levelName(Level level, Language language);

} // namespace qm::media
