#pragma once
// The web player's options: twelve drop-down lists (held as 1-based item
// numbers, 0 = nothing selected), switches, colours, the page title, the
// values the tool keeps for itself, and the transient settings no file stores.

#include "model/HotSpotTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The twelve drop-down options, in the order their tags open the options file.
enum class Choice {
    Window,
    Zoom,
    ControlBar,
    Yaw,
    Pitch,
    Tilt,
    Audio,
    WinPosX,
    WinPosY,
    MouseSpeed,
    MaxFps,
    Qual,
};
inline constexpr int kChoiceCount = 12;
inline constexpr std::array<Choice, kChoiceCount> kAllChoices = {
    Choice::Window,  Choice::Zoom,       Choice::ControlBar, Choice::Yaw,
    Choice::Pitch,   Choice::Tilt,       Choice::Audio,      Choice::WinPosX,
    Choice::WinPosY, Choice::MouseSpeed, Choice::MaxFps,     Choice::Qual};

const std::vector<std::string>& choiceItems(Choice c); // display texts, item 1 first
int defaultItem(Choice choice);                        // 1-based
// Default item of every list, indexed by Choice: WINDOW 3 (550x400), ZOOM 9
// ("120"), AUDIO 6 ("50%"), the others 1.
inline constexpr std::array<int, kChoiceCount> kDefaultItems = {3, 9, 1, 1, 1, 1, 6, 1, 1, 1, 1, 1};
std::vector<std::string> zoomItems(int zoomMax); // (zoomMax-30)/10 items, at most 15

inline constexpr std::int32_t kDefaultZoomMax = 130;
inline constexpr std::uint32_t kBlack = 0;

// Stored in no file; reset on every start.
struct TransientSettings {
    bool manualSize = false;
    std::string manualWidth;  // digits-only box
    std::string manualHeight; // digits-only box
    std::string manualTilt;   // digits-only box
    bool muted = false;
    bool lockFullScreen = false;
    bool operator==(const TransientSettings&) const = default;
};

struct PlayerOptions {
    // Indexed by Choice; 0 = no selection. A default-constructed value holds
    // every default (as fresh() does) with empty folders.
    std::array<int, kChoiceCount> items = kDefaultItems;
    bool fullScreen = false;               // FULLSCREEN
    bool controls = true;                  // CONTROLS
    bool stat = false;                     // STAT
    int viewMode = 0;                      // VIEWMODE: 0 classic, 1 black areas
    std::uint32_t htmlBgColor = kBlack;    // 0x00BBGGRR
    std::uint32_t blackAreaColor = kBlack; // 0x00BBGGRR
    std::string htmlTitle;                 // UTF-8
    HotSpotIcons hsIcons{};                // HS_ICON0..HS_ICON9
    std::int32_t tooltipHelp = 1;          // 1 on, anything else off (kept as stored)
    std::int32_t zoomMax = kDefaultZoomMax;
    std::string loadDir;
    std::string saveDir;
    TransientSettings transient;

    // Every option at its default, the folders set to startDir.
    static PlayerOptions fresh(std::string startDir);

    int item(Choice choice) const;
    // n outside 1..list length leaves the list with no selection (0).
    void setItem(Choice choice, int n);
    // Text of the selected item; nullopt when nothing is selected.
    std::optional<std::string_view> itemText(Choice choice) const;
    // Text of the selected item, or of the default item when nothing is selected.
    std::string_view publishedItemText(Choice choice) const;

    // "Опции по умолчанию": exactly the lists, switches, view mode, title and
    // colours; leaves tooltips, ZOOMMAX, icons, folders and transients alone.
    // (The command also clears the video paths; that is the caller's part.)
    void resetToDefaults();

    bool operator==(const PlayerOptions&) const = default;
};

// Leading number of a text: blanks skipped, sign allowed, stops at the first
// character that cannot continue it; no digits gives 0.
double leadingNumber(std::string_view text);

// Width and height texts of WINDOW item n (1..12); item 0 falls back to the default.
std::pair<std::string, std::string> windowSize(int item);

// The values the publisher writes, resolved once per publication.
struct PublishedOptions {
    std::string renderX; // player width text
    std::string renderY; // player height text
    bool fullScreen = false;
    bool controls = true;
    int controlBar = 1;   // read but reaches no file
    std::string zoomText; // the ZOOM item text, e.g. "120"
    int yaw = 0;          // lon
    int pitch = 0;        // lat
    int vertMax = 90;     // 30..90
    int segments = 128;   // QUAL
    int maxFps = 15;
    float mouseSpeed = 0.02f;
    bool stat = false;
    std::string winPosX;    // left, right, center
    std::string winPosY;    // top, bottom, center
    std::string volumeText; // "0.00".."1.00"
    int viewMode = 0;
    std::uint32_t blackAreaColor = kBlack;
    std::uint32_t htmlBgColor = kBlack;
    bool lockFullScreen = false;
    bool muted = false;
};

struct ResolvedOptions {
    PublishedOptions values;
    // True when manualSize was set but the size was too small: the caller
    // shows kManualSizeMessage and the boxes were reset to "320" and "100".
    bool manualSizeRejected = false;
};

inline constexpr std::string_view kManualSizeCaption = "Информация:";
inline constexpr std::string_view kManualSizeMessage =
    "Минимальный размер ширины окна - 320 pix\r\nМинимальный размер высоты  = 100 pix";

// Resolves every published value in the publisher's order. May reset
// options.transient.manualWidth/manualHeight (see ResolvedOptions).
ResolvedOptions resolvePublishedOptions(PlayerOptions& options);

} // namespace qm
