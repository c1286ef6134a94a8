#include "model/PlayerOptions.h"

#include "model/TextForms.h"

#include <algorithm>
#include <utility>

namespace qm {
namespace {

constexpr std::size_t index(Choice choice) {
    return static_cast<std::size_t>(choice);
}

constexpr int kMaxZoomItems = 15;
constexpr double kMinManualWidth = 320.0;
constexpr double kMinManualHeight = 100.0;
constexpr int kTiltLow = 30;
constexpr int kTiltHigh = 90;
constexpr int kAutoSegments = 128;
constexpr int kAutoMaxFps = 15;
constexpr float kAutoMouseSpeed = 0.02f;

std::string intText(int value) {
    return numberText(static_cast<double>(value));
}

std::vector<std::string> yawItems() {
    std::vector<std::string> items{" auto"};
    for (int i = 2; i <= 13; ++i) {
        items.push_back(" " + intText(30 * (i - 2)) + " град.");
    }
    return items;
}

std::vector<std::string> audioItems() {
    std::vector<std::string> items;
    for (int i = 1; i <= 11; ++i) {
        items.push_back(intText(10 * (i - 1)) + "%");
    }
    return items;
}

std::vector<std::string> buildItems(Choice choice) {
    switch (choice) {
    case Choice::Window:
        return {"01.320x240", "02.400x300",  "03.550x400",  "04.600x400",
                "05.640x480", "06.800x400",  "07.800x480",  "08.800x600",
                "09.960x480", "10.1024x480", "11.1024x640", "12.1024x768"};
    case Choice::Zoom:
        // The list is built before any file is read, so always from the default bound.
        return zoomItems(kDefaultZoomMax);
    case Choice::ControlBar:
        return {" auto", " мини"};
    case Choice::Yaw:
        return yawItems();
    case Choice::Pitch:
        return {" auto", " 30  град.", " 20  град.", " 10  град.",
                " 0",    "-10  град.", "-20  град.", "-30  град."};
    case Choice::Tilt:
        return {" auto",      " 40  град.", " 45  град.", " 50  град.", " 55  град.",
                " 60  град.", " 65  град.", " 70  град.", " 75  град.", " 80  град.",
                " 85  град.", " 90  град.", " manual"};
    case Choice::Audio:
        return audioItems();
    case Choice::WinPosX:
        return {" auto", " left", " right", " center"};
    case Choice::WinPosY:
        return {" auto", " top", " bottom", " center"};
    case Choice::MouseSpeed:
        return {" auto", " 0.020", " 0.025", " 0.030", " 0.035", " 0.040", " 0.045", " 0.050"};
    case Choice::MaxFps:
        return {" auto", "  7", " 15", " 20", " 24", " 30", " 50", " 60"};
    case Choice::Qual:
        return {" auto", " 64", " 128", " 172", " 200", " 252", " 282"};
    }
    return {};
}

std::array<std::vector<std::string>, kChoiceCount> buildAllItems() {
    std::array<std::vector<std::string>, kChoiceCount> all;
    for (const Choice choice : kAllChoices) {
        all[index(choice)] = buildItems(choice);
    }
    return all;
}

// The leading number of an item text, rounded; item texts without a number read as 0.
int itemNumber(const PlayerOptions& options, Choice choice) {
    return roundToInt(leadingNumber(options.publishedItemText(choice)));
}

int orAutomatic(int value, int automatic) {
    return value == 0 ? automatic : value;
}

int verticalLimit(const PlayerOptions& options) {
    const int tilt = itemNumber(options, Choice::Tilt);
    if (tilt != 0) {
        return tilt;
    }
    const double manual = leadingNumber(options.transient.manualTilt);
    return manual >= kTiltLow && manual <= kTiltHigh ? roundToInt(manual) : kTiltHigh;
}

// The alignment word without its blank; " auto" publishes the first real word.
std::string alignmentWord(const PlayerOptions& options, Choice choice, std::string_view automatic) {
    const std::string_view word = trimBlanks(options.publishedItemText(choice));
    return std::string(word == "auto" ? automatic : word);
}

std::string volumeText(const PlayerOptions& options) {
    std::string_view text = options.publishedItemText(Choice::Audio);
    while (!text.empty() && text.back() == '%') {
        text.remove_suffix(1);
    }
    return maskText(leadingNumber(text) / 100.0, "0.00");
}

// Sets the player size; returns false when a manual size was asked for but is too small.
bool resolvePlayerSize(PlayerOptions& options, PublishedOptions& values) {
    auto [width, height] = windowSize(options.item(Choice::Window));
    values.renderX = std::move(width);
    values.renderY = std::move(height);
    TransientSettings& transient = options.transient;
    if (!transient.manualSize) {
        return true;
    }
    if (leadingNumber(transient.manualWidth) >= kMinManualWidth &&
        leadingNumber(transient.manualHeight) >= kMinManualHeight) {
        // In normal form: the script would read "0320" as an octal number.
        values.renderX = numberText(leadingNumber(transient.manualWidth));
        values.renderY = numberText(leadingNumber(transient.manualHeight));
        return true;
    }
    transient.manualWidth = "320";
    transient.manualHeight = "100";
    return false;
}

} // namespace

const std::vector<std::string>& choiceItems(Choice c) {
    static const std::array<std::vector<std::string>, kChoiceCount> kItems = buildAllItems();
    return kItems[index(c)];
}

int defaultItem(Choice choice) {
    return kDefaultItems[index(choice)];
}

std::vector<std::string> zoomItems(int zoomMax) {
    const int count = std::min((zoomMax - 30) / 10, kMaxZoomItems);
    std::vector<std::string> items;
    for (int i = 1; i <= count; ++i) {
        items.push_back(intText(10 * i + 30));
    }
    return items;
}

PlayerOptions PlayerOptions::fresh(std::string startDir) {
    PlayerOptions options;
    options.loadDir = startDir;
    options.saveDir = std::move(startDir);
    return options;
}

int PlayerOptions::item(Choice choice) const {
    return items[index(choice)];
}

void PlayerOptions::setItem(Choice choice, int n) {
    const auto count = static_cast<int>(choiceItems(choice).size());
    items[index(choice)] = n >= 1 && n <= count ? n : 0;
}

std::optional<std::string_view> PlayerOptions::itemText(Choice choice) const {
    const int n = item(choice);
    const std::vector<std::string>& list = choiceItems(choice);
    if (n < 1 || n > static_cast<int>(list.size())) {
        return std::nullopt;
    }
    return list[static_cast<std::size_t>(n - 1)];
}

std::string_view PlayerOptions::publishedItemText(Choice choice) const {
    if (const std::optional<std::string_view> text = itemText(choice)) {
        return *text;
    }
    return choiceItems(choice)[static_cast<std::size_t>(defaultItem(choice) - 1)];
}

void PlayerOptions::resetToDefaults() {
    items = kDefaultItems;
    fullScreen = false;
    controls = true;
    stat = false;
    htmlTitle.clear();
    viewMode = 0;
    htmlBgColor = kBlack;
    blackAreaColor = kBlack;
}

double leadingNumber(std::string_view text) {
    // The same reading as numberValue, without its hexadecimal form.
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || text[first] == '&') {
        return 0.0;
    }
    return numberValue(text.substr(first));
}

std::pair<std::string, std::string> windowSize(int item) {
    const std::vector<std::string>& list = choiceItems(Choice::Window);
    const int n =
        item >= 1 && item <= static_cast<int>(list.size()) ? item : defaultItem(Choice::Window);
    // "03.550x400": the size follows the two-digit prefix and its point.
    const std::string_view text = list[static_cast<std::size_t>(n - 1)];
    const std::string_view size = text.substr(text.find('.') + 1);
    const std::size_t x = size.find('x');
    return {std::string(size.substr(0, x)), std::string(size.substr(x + 1))};
}

ResolvedOptions resolvePublishedOptions(PlayerOptions& options) {
    ResolvedOptions resolved;
    PublishedOptions& values = resolved.values;
    resolved.manualSizeRejected = !resolvePlayerSize(options, values);
    values.fullScreen = options.fullScreen;
    values.controls = options.controls;
    values.controlBar = options.item(Choice::ControlBar) != 0 ? options.item(Choice::ControlBar)
                                                              : defaultItem(Choice::ControlBar);
    values.zoomText = std::string(options.publishedItemText(Choice::Zoom));
    values.yaw = itemNumber(options, Choice::Yaw);
    values.pitch = itemNumber(options, Choice::Pitch);
    values.vertMax = verticalLimit(options);
    values.segments = orAutomatic(itemNumber(options, Choice::Qual), kAutoSegments);
    values.maxFps = orAutomatic(itemNumber(options, Choice::MaxFps), kAutoMaxFps);
    const auto mouseSpeed =
        static_cast<float>(leadingNumber(options.publishedItemText(Choice::MouseSpeed)));
    values.mouseSpeed = mouseSpeed == 0.0f ? kAutoMouseSpeed : mouseSpeed;
    values.stat = options.stat;
    values.winPosX = alignmentWord(options, Choice::WinPosX, "left");
    values.winPosY = alignmentWord(options, Choice::WinPosY, "top");
    values.volumeText = volumeText(options);
    values.viewMode = options.viewMode;
    values.blackAreaColor = options.blackAreaColor;
    values.htmlBgColor = options.htmlBgColor;
    values.lockFullScreen = options.transient.lockFullScreen;
    values.muted = options.transient.muted;
    return resolved;
}

} // namespace qm
