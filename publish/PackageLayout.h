#pragma once
// Where each payload lands in the package, in the order it is written.

#include <array>
#include <cstdint>
#include <string_view>

namespace qm {

struct PayloadFile {
    int number;
    std::string_view path; // relative to the output folder, '/' separated
};

// js/ and its subfolders: raf.js, Stats.js, st.css, Three.js, cn1..cn3.
inline constexpr std::array<PayloadFile, 7> kScriptFiles = {{
    {102, "js/raf.js"},
    {103, "js/Stats.js"},
    {137, "js/st.css"},
    {104, "js/build/Three.js"},
    {106, "js/ctr/cn1.js"},
    {107, "js/ctr/cn2.js"},
    {108, "js/ctr/cn3.js"},
}};

// images/ after the hot spot icons: check_hs.gif, the buttons, poster.
inline constexpr std::array<PayloadFile, 29> kImageFiles = {{
    {153, "images/check_hs.gif"}, {109, "images/down.png"},    {110, "images/downL.png"},
    {111, "images/downD.png"},    {112, "images/up.png"},      {113, "images/upL.png"},
    {114, "images/upD.png"},      {115, "images/left.png"},    {116, "images/leftL.png"},
    {117, "images/leftD.png"},    {118, "images/right.png"},   {119, "images/rightL.png"},
    {120, "images/rightD.png"},   {121, "images/stop.png"},    {122, "images/stopL.png"},
    {123, "images/stopD.png"},    {124, "images/restart.png"}, {125, "images/restartL.png"},
    {126, "images/restartD.png"}, {127, "images/muteON.png"},  {128, "images/muteOFF.png"},
    {129, "images/title.png"},    {130, "images/zoomin.png"},  {131, "images/zoominL.png"},
    {132, "images/zoominD.png"},  {133, "images/zoomout.png"}, {134, "images/zoomoutL.png"},
    {135, "images/zoomoutD.png"}, {136, "images/poster.jpg"},
}};

inline constexpr std::string_view kStartPictureName = "title_start_html5.jpg";

// The payload drawn for an icon code. Codes outside 200..234 (a damaged
// project file) fall back to icon 0 rather than an empty picture.
inline constexpr int iconPayloadNumber(std::int32_t iconCode) {
    return iconCode >= 200 && iconCode <= 234 ? static_cast<int>(iconCode) : 200;
}

} // namespace qm
