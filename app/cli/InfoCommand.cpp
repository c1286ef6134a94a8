#include "app/cli/InfoCommand.h"

#include "app/cli/TerminalText.h"

#include "model/TextForms.h"
#include "persist/OptionTags.h"
#include "persist/ProjectFile.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kLabelWidth = 16;

// Every text a project holds may carry control bytes: none reaches the
// terminal. (Named apart from std::quoted, which a std::string argument
// would otherwise find and prefer.)
std::string quotedText(std::string_view text) {
    return "\"" + terminalSafe(text) + "\"";
}

std::string padded(std::string_view label) {
    std::string text(label);
    if (text.size() < kLabelWidth) {
        text.append(kLabelWidth - text.size(), ' ');
    }
    return "  " + text;
}

std::string onOff(bool on) {
    return on ? "on" : "off";
}

// Item texts are quoted so that their leading and doubled blanks show.
std::string itemText(const PlayerOptions& options, Choice choice) {
    if (const auto text = options.itemText(choice)) {
        return quotedText(*text);
    }
    return "(nothing selected; publishes " + quotedText(options.publishedItemText(choice)) + ")";
}

// What a person reads beside the stored number; empty when the number says it all.
std::string meaning(const OptionTag& tag, const PlayerOptions& options, std::int64_t number) {
    switch (tag.kind) {
    case OptionKind::List:
        return itemText(options, tag.choice);
    case OptionKind::Switch:
    case OptionKind::Toggle:
        return onOff(number == 1);
    case OptionKind::ViewMode:
        return number == 0 ? "\"Classic\"" : "\"Black Areas\"";
    case OptionKind::Colour:
        return "web #" + hexColourText(static_cast<std::uint32_t>(number));
    case OptionKind::Bound:
    case OptionKind::Title:
    case OptionKind::Folder:
    case OptionKind::Icon:
    case OptionKind::Fixed:
        break;
    }
    return {};
}

std::string storedText(const OptionTag& tag, const PlayerOptions& options) {
    if (tag.kind == OptionKind::Title) {
        return quotedText(tag.text(options));
    }
    if (tag.kind == OptionKind::Folder) {
        return terminalSafe(tag.text(options));
    }
    const std::int64_t number = tag.number(options);
    const std::string stored = tag.kind == OptionKind::Colour
                                   ? colourText(static_cast<std::uint32_t>(number))
                                   : numberText(static_cast<double>(number));
    const std::string words = meaning(tag, options, number);
    return words.empty() ? stored : stored + "  " + words;
}

// Every option in the file's order; the icon codes are shown with their hot
// spots, and the fixed tags hold no option.
void printOptions(std::ostream& out, const PlayerOptions& options) {
    out << "Options\n";
    for (const OptionTag& tag : optionTags()) {
        if (tag.kind != OptionKind::Icon && tag.kind != OptionKind::Fixed) {
            out << padded(tag.name) << storedText(tag, options) << '\n';
        }
    }
}

void printVideos(std::ostream& out, const VideoPaths& videos) {
    out << "Videos\n";
    for (int n = 1; n <= 3; ++n) {
        const std::string& path = videos.path(n);
        out << padded("VIDEO" + numberText(n)) << (path.empty() ? "(none)" : terminalSafe(path))
            << '\n';
    }
}

std::string iconText(std::int32_t code) {
    if (code == 0) {
        return "none chosen (publishes icon 0)";
    }
    if (code < kFirstIconCode || code >= kFirstIconCode + kIconCount) {
        return "code " + numberText(code) + " is no icon (publishes icon 0)";
    }
    return "icon " + numberText(code - kFirstIconCode) + " (code " + numberText(code) + ")";
}

void printHotSpots(std::ostream& out, const HotSpotTable& table, const HotSpotIcons& icons) {
    out << "Hot spots: " << table.countInUse() << " of " << kSlotCount << " slots in use\n";
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (!table.inUse(slot)) {
            continue;
        }
        const HotSpotItem& item = table.record(slot);
        out << "  Hot Spot " << (slot < 10 ? "0" : "") << slot << '\n'
            << "    yaw    " << item.yaw << '\n'
            << "    pos    " << numberText(item.pos) << " s\n"
            << "    time   " << numberText(item.time) << " s\n"
            << "    self   " << item.self << '\n'
            << "    title  " << quotedText(item.strippedTitle()) << '\n'
            << "    link   " << quotedText(item.strippedLink()) << '\n'
            << "    icon   " << iconText(icons[static_cast<std::size_t>(slot - 1)]) << '\n';
    }
}

int showProject(const std::string& path) {
    std::error_code code;
    const fs::path currentDir = fs::current_path(code);
    Project project;
    project.options = PlayerOptions::fresh(pathText(currentDir));
    const ProjectReadResult read = readProjectFile(path, project, pathText(currentDir));
    if (!read.applied) {
        std::cerr << "quillmark info: " << terminalSafe(read.error->path) << ": "
                  << read.error->reason << '\n';
        return kFileSystem;
    }
    std::cout << "Project " << terminalSafe(path) << '\n';
    printOptions(std::cout, project.options);
    printVideos(std::cout, project.videos);
    printHotSpots(std::cout, project.hotSpots, project.options.hsIcons);
    return kOk;
}

} // namespace

CliCommand addInfoCommand(CLI::App& app) {
    auto path = std::make_shared<std::string>();
    CLI::App* node = app.add_subcommand(
        "info", "Show a project file: every option with its item text and stored value, the "
                "videos and the hot spots in use.");
    node->add_option("PROJECT", *path, "Project file (.pp5)")->required();
    node->footer("Exit codes: 0 shown, 2 usage, 3 the file could not be read.");
    return {node, [path] { return showProject(*path); }};
}

} // namespace qm::cli
