#include "app/cli/InfoCommand.h"

#include "app/cli/TerminalText.h"

#include "model/TextForms.h"
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
void printChoice(std::ostream& out, const PlayerOptions& options, Choice choice) {
    out << padded(choiceTag(choice)) << options.item(choice) << "  ";
    if (const auto text = options.itemText(choice)) {
        out << quotedText(*text);
    } else {
        out << "(nothing selected; publishes " << quotedText(options.publishedItemText(choice))
            << ")";
    }
    out << '\n';
}

void printOptions(std::ostream& out, const PlayerOptions& o) {
    out << "Options\n";
    for (const Choice choice : kAllChoices) {
        printChoice(out, o, choice);
    }
    out << padded("CONTROLS") << (o.controls ? 1 : 0) << "  " << onOff(o.controls) << '\n'
        << padded("FULLSCREEN") << (o.fullScreen ? 1 : 0) << "  " << onOff(o.fullScreen) << '\n'
        << padded("STAT") << (o.stat ? 1 : 0) << "  " << onOff(o.stat) << '\n'
        << padded("VIEWMODE") << o.viewMode << "  "
        << (o.viewMode == 0 ? "\"Classic\"" : "\"Black Areas\"") << '\n'
        << padded("HTMLBGCOLOR") << colourText(o.htmlBgColor) << "  web #"
        << hexColourText(o.htmlBgColor) << '\n'
        << padded("BLACKAREACOLOR") << colourText(o.blackAreaColor) << "  web #"
        << hexColourText(o.blackAreaColor) << '\n'
        << padded("HTMLTITLE") << quotedText(o.htmlTitle) << '\n'
        << padded("TOOLTIPHELP") << o.tooltipHelp << "  tooltips " << onOff(o.tooltipHelp == 1)
        << '\n'
        << padded("ZOOMMAX") << o.zoomMax << '\n'
        << padded("LOADDIR") << terminalSafe(o.loadDir) << '\n'
        << padded("SAVEDIR") << terminalSafe(o.saveDir) << '\n';
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
