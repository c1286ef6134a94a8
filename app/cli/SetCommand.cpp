#include "app/cli/SetCommand.h"

#include "app/cli/ProjectEdit.h"
#include "model/HotSpotTable.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <vector>

namespace qm::cli {
namespace {

constexpr std::int32_t kLastIconCode = kFirstIconCode + kIconCount - 1;
// The zoom list holds (ZOOMMAX - 30) / 10 items, from one up to fifteen.
constexpr int kLowestZoomMax = 40;
constexpr int kHighestZoomMax = 180;

struct SetArgs {
    std::string project;
    std::vector<std::string> pairs;
};

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::string quoted(std::string_view value) {
    return "\"" + std::string(value) + "\"";
}

std::optional<int> numberIn(std::string_view value, int low, int high) {
    const std::optional<int> number = wholeNumber(value);
    if (!number || *number < low || *number > high) {
        return std::nullopt;
    }
    return number;
}

std::string rangeRefusal(std::string_view tag, std::string_view what, int low, int high,
                         std::string_view value) {
    return std::string(tag) + " takes " + std::string(what) + " from " + std::to_string(low) +
           " to " + std::to_string(high) + ", not " + quoted(value);
}

std::optional<Choice> choiceOfTag(std::string_view tag) {
    for (const Choice choice : kAllChoices) {
        if (choiceTag(choice) == tag) {
            return choice;
        }
    }
    return std::nullopt;
}

std::optional<std::string> setChoice(PlayerOptions& options, Choice choice,
                                     std::string_view value) {
    const int count = static_cast<int>(choiceItems(choice).size());
    const std::optional<int> item = numberIn(value, 1, count);
    if (!item) {
        return rangeRefusal(choiceTag(choice), "an item number", 1, count, value);
    }
    options.setItem(choice, *item);
    return std::nullopt;
}

bool* switchOfTag(PlayerOptions& options, std::string_view tag) {
    if (tag == "FULLSCREEN") {
        return &options.fullScreen;
    }
    if (tag == "CONTROLS") {
        return &options.controls;
    }
    if (tag == "STAT") {
        return &options.stat;
    }
    return nullptr;
}

std::uint32_t* colourOfTag(PlayerOptions& options, std::string_view tag) {
    if (tag == "HTMLBGCOLOR") {
        return &options.htmlBgColor;
    }
    if (tag == "BLACKAREACOLOR") {
        return &options.blackAreaColor;
    }
    return nullptr;
}

std::string* textOfTag(PlayerOptions& options, std::string_view tag) {
    if (tag == "HTMLTITLE") {
        return &options.htmlTitle;
    }
    if (tag == "LOADDIR") {
        return &options.loadDir;
    }
    if (tag == "SAVEDIR") {
        return &options.saveDir;
    }
    return nullptr;
}

// Six hex digits, blue first: the value itself in the layout 0x00BBGGRR.
std::optional<std::uint32_t> colourValue(std::string_view text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
    if (text.size() != 6 || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// HS_ICON0 .. HS_ICON9 give the index 0..9.
std::optional<int> iconIndexOfTag(std::string_view tag) {
    constexpr std::string_view kPrefix = "HS_ICON";
    if (tag.size() != kPrefix.size() + 1 || !tag.starts_with(kPrefix)) {
        return std::nullopt;
    }
    return numberIn(tag.substr(kPrefix.size()), 0, kSlotCount - 1);
}

std::optional<std::string> setText(std::string& field, std::string_view tag,
                                   std::string_view value) {
    // One value is one line of the file; a line break would cut it in two.
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return std::string(tag) + " must be one line of text";
    }
    if (std::optional<std::string> refusal = tagTextRefusal(tag, value)) {
        return refusal;
    }
    field = std::string(value);
    return std::nullopt;
}

std::optional<std::string> setIcon(PlayerOptions& options, int index, std::string_view tag,
                                   std::string_view value) {
    const std::optional<int> code = wholeNumber(value);
    if (!code || (*code != 0 && (*code < kFirstIconCode || *code > kLastIconCode))) {
        return std::string(tag) + " takes an icon code from " + std::to_string(kFirstIconCode) +
               " to " + std::to_string(kLastIconCode) + " (0: none chosen), not " + quoted(value);
    }
    options.hsIcons[static_cast<std::size_t>(index)] = *code;
    return std::nullopt;
}

std::optional<std::string> setInteger(std::int32_t& field, std::string_view tag, int low, int high,
                                      std::string_view value) {
    const std::optional<int> number = numberIn(value, low, high);
    if (!number) {
        return rangeRefusal(tag, "a number", low, high, value);
    }
    field = *number;
    return std::nullopt;
}

int setOptions(const SetArgs& args) {
    if (args.pairs.size() % 2 != 0) {
        // CLI11 has checked there is at least one word.
        std::fprintf(stderr, "quillmark set: the tag %s has no value\n", args.pairs.back().c_str());
        return kUsage;
    }
    return editProject("set", args.project, [&args](Project& project) {
        for (std::size_t i = 0; i < args.pairs.size(); i += 2) {
            const std::optional<std::string> refusal =
                setStoredOption(project.options, args.pairs[i], args.pairs[i + 1]);
            if (refusal) {
                std::fprintf(stderr, "quillmark set: %s\n", refusal->c_str());
                return int{kUsage};
            }
        }
        return int{kOk};
    });
}

} // namespace

std::optional<std::string> setStoredOption(PlayerOptions& options, std::string_view tag,
                                           std::string_view value) {
    if (const std::optional<Choice> choice = choiceOfTag(tag)) {
        return setChoice(options, *choice, value);
    }
    if (bool* const flag = switchOfTag(options, tag)) {
        const std::optional<int> on = numberIn(value, 0, 1);
        if (!on) {
            return rangeRefusal(tag, "a switch", 0, 1, value);
        }
        *flag = *on == 1;
        return std::nullopt;
    }
    if (tag == "VIEWMODE") {
        const std::optional<int> mode = numberIn(value, 0, 1);
        if (!mode) {
            return rangeRefusal(tag, "a mode (0 Classic, 1 Black Areas)", 0, 1, value);
        }
        options.viewMode = *mode;
        return std::nullopt;
    }
    if (std::uint32_t* const colour = colourOfTag(options, tag)) {
        const std::optional<std::uint32_t> parsed = colourValue(value);
        if (!parsed) {
            return std::string(tag) + " takes six hex digits BBGGRR (blue first), not " +
                   quoted(value);
        }
        *colour = *parsed;
        return std::nullopt;
    }
    if (std::string* const text = textOfTag(options, tag)) {
        return setText(*text, tag, value);
    }
    if (const std::optional<int> index = iconIndexOfTag(tag)) {
        return setIcon(options, *index, tag, value);
    }
    if (tag == "TOOLTIPHELP") {
        return setInteger(options.tooltipHelp, tag, 0, 1, value);
    }
    if (tag == "ZOOMMAX") {
        return setInteger(options.zoomMax, tag, kLowestZoomMax, kHighestZoomMax, value);
    }
    if (tag == "BORDER" || tag == "BALANCE") {
        return std::string(tag) + " is fixed: BORDER is always stored as 0, BALANCE as 1";
    }
    return "unknown tag " + quoted(tag) + " (tags are upper case, as in the options file)";
}

CliCommand addSetCommand(CLI::App& app) {
    auto args = std::make_shared<SetArgs>();
    CLI::App* node = app.add_subcommand(
        "set", "Set stored options of a project by their options-file tags, e.g. WINDOW 12, "
               "ZOOM 3, VIEWMODE 1, BLACKAREACOLOR 0000FF, HTMLTITLE \"My tour\", HS_ICON3 205.");
    node->add_option("PROJECT", args->project, "Project file (.pp5)")->required();
    node->add_option("TAG VALUE", args->pairs, "Pairs of an option tag and its value")->required();
    node->footer("Exit codes: 0 written, 2 usage (an unknown tag, a value out of range or text "
                 "holding tag text such as \"</\"; nothing is written), 3 the project could not "
                 "be read or written.");
    return {node, [args] { return setOptions(*args); }};
}

} // namespace qm::cli
