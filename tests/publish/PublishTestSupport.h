#pragma once
// Shared helpers of the publisher tests, besides TestFiles.h: published
// values, the default configuration script, and the forms a published file
// takes undone (CR LF line ends, the inlined About picture, the scrambling).

#include "TestFiles.h"
#include "model/PlayerOptions.h"

#include <string>
#include <string_view>

namespace qm::test {

// Published values of an options record (may reset a too small manual size).
inline PublishedOptions published(PlayerOptions options) {
    return resolvePublishedOptions(options).values;
}

// The configuration script's lines before the hot spots for the defaults.
inline constexpr std::string_view kDefaultScriptHead = "   var fov = 120;\r\n"
                                                       "   var OS_FPS = 15;\r\n"
                                                       "   var nSegmentsWidth = 128; \r\n"
                                                       "   var nSegmentsHeight = 128; \r\n"
                                                       "   var vertmax = 90;\r\n"
                                                       "   var lon = 0;\r\n"
                                                       "   var lat = 0;\r\n"
                                                       "   var RENDER_X = 550;\r\n"
                                                       "   var RENDER_Y = 400;\r\n"
                                                       "   var OS_VOLUME  = 0.50;\r\n"
                                                       "   var OS_STAT  = 0;\r\n"
                                                       "   var OS_MODE  = 0; \r\n"
                                                       "   var OS_COLOR = '#000000';\r\n"
                                                       "   var mousespeed = 0.020; \r\n"
                                                       "   var control_bar = 1; \r\n"
                                                       "   var OS_CONTROL = 0; \r\n"
                                                       "   var OS_WIN_POS_W = \"left\";\r\n"
                                                       "   var OS_WIN_POS_H = \"top\";\r\n"
                                                       "   var OS_FULL_SCREEN = 0; \r\n"
                                                       "   var OS_SP2 = 1;\r\n"
                                                       "   var OS_BLOCK_FULL_SCREEN = 0;\r\n"
                                                       "   if (OS_FULL_SCREEN == 1){\r\n"
                                                       "       RENDER_X = window.innerWidth;\r\n"
                                                       "       RENDER_Y = window.innerHeight;\r\n"
                                                       "       posY = 46;\r\n"
                                                       "   };\r\n"
                                                       "   if (RENDER_X < 550){\r\n"
                                                       "            OS_CONTROL = 1;\r\n"
                                                       "   };\r\n";

// The six script lines of an empty hot spot slot (index = slot - 1).
inline std::string emptySlotLines(int index) {
    const std::string k = std::to_string(index);
    return "HotSpotItem_pos[" + k + "]   = 0;\r\n" + "HotSpotItem_time[" + k + "]  = 0;\r\n" +
           "HotSpotItem_yaw[" + k + "]   = 0;\r\n" + "HotSpotItem_title[" + k + "] = \"\";\r\n" +
           "HotSpotItem_link[" + k + "]  = \"\";\r\n" + "HotSpotItem_self[" + k + "]  = false;\r\n";
}

// Text with every line end made CR LF, as the style sheet is published.
inline std::string withCrLf(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\r\n";
        } else if (c != '\r') {
            out += c;
        }
    }
    return out;
}

// The bytes base64 text stands for; '=' padding ends them.
inline std::string decodeBase64(std::string_view text) {
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        const std::size_t value = alphabet.find(c);
        if (value == std::string_view::npos) {
            break;
        }
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return out;
}

// A player page with its inlined About picture linked again as src="about.png",
// so that it compares with the committed template; empty when the inlined
// picture is not `png`.
inline std::string withAboutPictureLinked(std::string page, std::string_view png) {
    constexpr std::string_view marker = "src=\"data:image/png;base64,";
    const std::size_t start = page.find(marker);
    const std::size_t end = page.find('"', start + marker.size());
    if (start == std::string::npos || end == std::string::npos ||
        decodeBase64(std::string_view(page).substr(start + marker.size())) != png) {
        return {};
    }
    return page.replace(start, end + 1 - start, "src=\"about.png\"");
}

// The script a scrambled configuration file runs: its eval line's hidden
// digits put back and every %XX decoded (the scripts here are ASCII).
inline std::string unscrambled(std::string_view file) {
    constexpr std::string_view open = "eval(unescape((\"";
    const std::size_t start = file.find(open);
    const std::size_t end = file.find("\").replace(", start);
    if (start == std::string_view::npos || end == std::string_view::npos) {
        return {};
    }
    std::string escaped;
    for (const char c : file.substr(start + open.size(), end - start - open.size())) {
        const std::string_view hidden = "\x01\x02\x03\x05\x07\x08";
        const std::string_view digits = "345627";
        const std::size_t at = hidden.find(c);
        escaped +=
            at == std::string_view::npos ? std::string(1, c) : "%" + std::string(1, digits[at]);
    }
    std::string text;
    for (std::size_t i = 0; i + 2 < escaped.size() && escaped[i] == '%'; i += 3) {
        text += static_cast<char>(std::stoi(escaped.substr(i + 1, 2), nullptr, 16));
    }
    return text;
}

} // namespace qm::test
