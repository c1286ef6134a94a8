#pragma once
// The presentation page (an iframe that loads the player page on a click)
// and the two batch files that serve the package on 127.0.0.1:8000.

#include "publish/PackageFiles.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qm {

inline constexpr std::string_view kServerLauncherName = "start_local_server_python.bat";

struct PresentationFields {
    bool fullScreen = false;      // FULLSCREEN
    std::uint32_t pageColour = 0; // HTMLBGCOLOR, 0x00BBGGRR
    std::string width;            // resolved player size texts
    std::string height;
    std::string title; // HTMLTITLE, UTF-8
};

// "FFFFFF" or "000000", whichever reads better on the colour (0x00BBGGRR).
std::string readableTextColour(std::uint32_t background);

class PresentationPageWriter {
  public:
    static std::string serverLauncherText();
    // pageName: the chosen file name without its extension.
    static std::string testLauncherName(std::string_view pageName);
    // pageFileName: the chosen file name as it is on disk, so that the
    // launcher opens "demo.HTML" as written.
    static std::string testLauncherText(std::string_view pageFileName);
    static std::string pageText(const PresentationFields& fields);

    static FileResult writeLaunchers(const std::filesystem::path& outputFolder,
                                     std::string_view pageFileName);
    static FileResult writePage(const std::filesystem::path& pagePath,
                                const PresentationFields& fields);
};

} // namespace qm
