#include "app/cli/SetCommand.h"

#include "app/cli/ProjectEdit.h"
#include "persist/OptionTags.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <vector>

namespace qm::cli {
namespace {

struct SetArgs {
    std::string project;
    std::vector<std::string> pairs;
};

std::string quoted(std::string_view value) {
    return "\"" + std::string(value) + "\"";
}

std::string numberWord(std::int64_t number) {
    return std::to_string(number);
}

// A whole number in the given base with nothing before or after it.
std::optional<std::int64_t> wholeNumber(std::string_view text, int base = 10) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool inRange(const OptionTag& tag, std::int64_t number) {
    return number >= tag.low && number <= tag.high;
}

std::optional<std::string> setNumber(PlayerOptions& options, const OptionTag& tag,
                                     std::string_view what, std::string_view value) {
    const std::optional<std::int64_t> number = wholeNumber(value);
    if (!number || !inRange(tag, *number)) {
        return std::string(tag.name) + " takes " + std::string(what) + " from " +
               numberWord(tag.low) + " to " + numberWord(tag.high) + ", not " + quoted(value);
    }
    tag.setNumber(options, *number);
    return std::nullopt;
}

// Six hex digits, blue first: the value itself in the layout 0x00BBGGRR.
std::optional<std::string> setColour(PlayerOptions& options, const OptionTag& tag,
                                     std::string_view value) {
    const std::optional<std::int64_t> colour = wholeNumber(value, 16);
    if (value.size() != 6 || !colour || *colour < 0) {
        return std::string(tag.name) + " takes six hex digits BBGGRR (blue first), not " +
               quoted(value);
    }
    tag.setNumber(options, *colour);
    return std::nullopt;
}

std::optional<std::string> setIcon(PlayerOptions& options, const OptionTag& tag,
                                   std::string_view value) {
    const std::optional<std::int64_t> code = wholeNumber(value);
    if (!code || (*code != 0 && !inRange(tag, *code))) {
        return std::string(tag.name) + " takes an icon code from " + numberWord(tag.low) + " to " +
               numberWord(tag.high) + " (0: none chosen), not " + quoted(value);
    }
    tag.setNumber(options, *code);
    return std::nullopt;
}

std::optional<std::string> setText(PlayerOptions& options, const OptionTag& tag,
                                   std::string_view value) {
    // One value is one line of the file; a line break would cut it in two.
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return std::string(tag.name) + " must be one line of text";
    }
    if (std::optional<std::string> refusal = tagTextRefusal(tag.name, value)) {
        return refusal;
    }
    tag.setText(options, std::string(value));
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

std::optional<std::string> setStoredOption(PlayerOptions& options, std::string_view name,
                                           std::string_view value) {
    const OptionTag* const tag = findOptionTag(name);
    if (tag == nullptr) {
        return "unknown tag " + quoted(name) + " (tags are upper case, as in the options file)";
    }
    switch (tag->kind) {
    case OptionKind::List:
        return setNumber(options, *tag, "an item number", value);
    case OptionKind::Switch:
        return setNumber(options, *tag, "a switch", value);
    case OptionKind::ViewMode:
        return setNumber(options, *tag, "a mode (0 Classic, 1 Black Areas)", value);
    case OptionKind::Toggle:
    case OptionKind::Bound:
        return setNumber(options, *tag, "a number", value);
    case OptionKind::Colour:
        return setColour(options, *tag, value);
    case OptionKind::Icon:
        return setIcon(options, *tag, value);
    case OptionKind::Title:
    case OptionKind::Folder:
        return setText(options, *tag, value);
    case OptionKind::Fixed:
        break;
    }
    return std::string(name) + " is fixed: it is always stored as " + numberWord(tag->defaultValue);
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
