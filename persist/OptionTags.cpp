#include "persist/OptionTags.h"

#include "model/HotSpotTable.h"

#include <algorithm>
#include <climits>
#include <type_traits>
#include <vector>

namespace qm {
namespace {

using Kind = OptionKind;
using Options = PlayerOptions;

constexpr std::int64_t kLastIconCode = kFirstIconCode + kIconCount - 1;
constexpr std::int64_t kWhite = 0xFFFFFF;
// The zoom list holds (ZOOMMAX - 30) / 10 items, from one up to fifteen.
constexpr std::int64_t kLowestZoomMax = 40;
constexpr std::int64_t kHighestZoomMax = 180;

template <class T> OptionValue valueOf(const T& field) {
    if constexpr (std::is_same_v<T, std::string>) {
        return field;
    } else {
        return static_cast<std::int64_t>(field);
    }
}

template <class T> void store(T& field, const OptionValue& value) {
    if constexpr (std::is_same_v<T, std::string>) {
        field = std::get<std::string>(value);
    } else {
        field = static_cast<T>(std::get<std::int64_t>(value));
    }
}

template <auto Member> OptionAccess member() {
    return {[](const Options& o) { return valueOf(o.*Member); },
            [](Options& o, const OptionValue& value) { store(o.*Member, value); }};
}

template <std::size_t Slot> OptionAccess icon() {
    return {[](const Options& o) { return valueOf(o.hsIcons[Slot]); },
            [](Options& o, const OptionValue& value) { store(o.hsIcons[Slot], value); }};
}

template <Choice C> OptionAccess item() {
    return {[](const Options& o) { return valueOf(o.item(C)); },
            [](Options& o, const OptionValue& value) {
                const std::int64_t n = std::get<std::int64_t>(value);
                o.setItem(C, static_cast<int>(std::clamp<std::int64_t>(n, 0, INT_MAX)));
            }};
}

OptionTag tag(std::string_view name, Kind kind, std::int64_t low, std::int64_t high,
              std::int64_t defaultValue, OptionAccess access) {
    return {name, kind, low, high, defaultValue, access, Choice::Window};
}

template <Choice C> OptionTag listTag(std::string_view name) {
    const auto count = static_cast<std::int64_t>(choiceItems(C).size());
    return {name, Kind::List, 1, count, defaultItem(C), item<C>(), C};
}

template <std::size_t Slot> OptionTag iconTag(std::string_view name) {
    return tag(name, Kind::Icon, kFirstIconCode, kLastIconCode, 0, icon<Slot>());
}

std::vector<OptionTag> buildTags() {
    return {
        listTag<Choice::Window>("WINDOW"),
        tag("CONTROLS", Kind::Switch, 0, 1, 1, member<&Options::controls>()),
        listTag<Choice::Zoom>("ZOOM"),
        listTag<Choice::ControlBar>("CONTROLBAR"),
        listTag<Choice::Yaw>("YAW"),
        listTag<Choice::Pitch>("PITCH"),
        listTag<Choice::Tilt>("TILT"),
        listTag<Choice::Audio>("AUDIO"),
        listTag<Choice::WinPosX>("WIN_POS_X"),
        listTag<Choice::WinPosY>("WIN_POS_Y"),
        listTag<Choice::MouseSpeed>("MOUSESPEED"),
        listTag<Choice::MaxFps>("MAXFPS"),
        listTag<Choice::Qual>("QUAL"),
        tag("FULLSCREEN", Kind::Switch, 0, 1, 0, member<&Options::fullScreen>()),
        tag("HTMLBGCOLOR", Kind::Colour, 0, kWhite, kBlack, member<&Options::htmlBgColor>()),
        tag("HTMLTITLE", Kind::Title, 0, 0, 0, member<&Options::htmlTitle>()),
        tag("STAT", Kind::Switch, 0, 1, 0, member<&Options::stat>()),
        iconTag<0>("HS_ICON0"),
        iconTag<1>("HS_ICON1"),
        iconTag<2>("HS_ICON2"),
        iconTag<3>("HS_ICON3"),
        iconTag<4>("HS_ICON4"),
        iconTag<5>("HS_ICON5"),
        iconTag<6>("HS_ICON6"),
        iconTag<7>("HS_ICON7"),
        iconTag<8>("HS_ICON8"),
        iconTag<9>("HS_ICON9"),
        tag("BORDER", Kind::Fixed, 0, 0, 0, {}),
        tag("VIEWMODE", Kind::ViewMode, 0, 1, 0, member<&Options::viewMode>()),
        tag("BLACKAREACOLOR", Kind::Colour, 0, kWhite, kBlack, member<&Options::blackAreaColor>()),
        tag("TOOLTIPHELP", Kind::Toggle, 0, 1, 1, member<&Options::tooltipHelp>()),
        tag("BALANCE", Kind::Fixed, 1, 1, 1, {}),
        tag("ZOOMMAX", Kind::Bound, kLowestZoomMax, kHighestZoomMax, kDefaultZoomMax,
            member<&Options::zoomMax>()),
        tag("LOADDIR", Kind::Folder, 0, 0, 0, member<&Options::loadDir>()),
        tag("SAVEDIR", Kind::Folder, 0, 0, 0, member<&Options::saveDir>()),
    };
}

} // namespace

std::int64_t OptionTag::number(const PlayerOptions& options) const {
    return access.get == nullptr ? defaultValue : std::get<std::int64_t>(access.get(options));
}

std::string OptionTag::text(const PlayerOptions& options) const {
    return std::get<std::string>(access.get(options));
}

void OptionTag::setNumber(PlayerOptions& options, std::int64_t value) const {
    if (access.set != nullptr) {
        access.set(options, value);
    }
}

void OptionTag::setText(PlayerOptions& options, std::string value) const {
    access.set(options, std::move(value));
}

std::span<const OptionTag> optionTags() {
    static const std::vector<OptionTag> kTags = buildTags();
    return kTags;
}

const OptionTag* findOptionTag(std::string_view name) {
    const std::span<const OptionTag> tags = optionTags();
    const auto found = std::find_if(tags.begin(), tags.end(),
                                    [name](const OptionTag& tag) { return tag.name == name; });
    return found == tags.end() ? nullptr : &*found;
}

} // namespace qm
