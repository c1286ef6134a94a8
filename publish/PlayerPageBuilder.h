#pragma once
// tv360_player.html: the embedded page template with its four placeholders
// filled (video sources, muted, page title, page colour).

#include "model/HotSpotTable.h"
#include "publish/PackageFiles.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace qm {

inline constexpr std::string_view kSourcePlaceholder = "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";
inline constexpr std::string_view kTitlePlaceholder = "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSS";
inline constexpr std::string_view kColourPlaceholder = "bgcolor=#000000";
inline constexpr std::string_view kMutedPlaceholder = "\"display:none\"";

// The first video whose extension is not one of the seven the page knows.
struct UnsupportedVideo {
    int number = 0; // 1..3
    std::string path;
    bool operator==(const UnsupportedVideo&) const = default;
};

struct PlayerPageFields {
    std::string sourceList; // from buildSourceList
    std::string title;      // HTMLTITLE, UTF-8
    bool muted = false;
    std::uint32_t pageColour = 0; // HTMLBGCOLOR, 0x00BBGGRR
};

class PlayerPageBuilder {
  public:
    // " type='video/mp4'/>" and the like; nullopt for an unsupported name.
    static std::optional<std::string_view> typeText(std::string_view fileName);

    // The file name part of a video path.
    static std::string fileName(std::string_view path);

    // One <SOURCE> line per set video, CR LF after each of the three
    // positions; or the first video with an unsupported extension. A video
    // marked in servedAsMp4 is named video/mp4 whatever its extension.
    static std::variant<std::string, UnsupportedVideo>
    buildSourceList(const VideoPaths& videos, const std::array<bool, 3>& servedAsMp4 = {});

    // The template with its placeholders replaced where they stand in the
    // template; inserted text is never searched again.
    static std::string fill(std::string_view pageTemplate, const PlayerPageFields& fields);

    // Fills the embedded template and writes tv360_player.html.
    static FileResult write(const std::filesystem::path& outputFolder,
                            const PlayerPageFields& fields);
};

} // namespace qm
