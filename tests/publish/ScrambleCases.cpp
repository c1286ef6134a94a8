// Writes configuration scripts in plain and scrambled form for
// scrambled_script_check.cjs: OUT_DIR/<case>.plain.js and <case>.scrambled.js.

#include "model/PlayerOptions.h"
#include "publish/ConfigScriptWriter.h"
#include "publish/PackageFiles.h"
#include "publish/ScriptScrambler.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using qm::HotSpotItem;
using qm::HotSpotTable;
using qm::PlayerOptions;

std::pair<PlayerOptions, HotSpotTable> defaults() {
    return {PlayerOptions{}, HotSpotTable{}};
}

std::pair<PlayerOptions, HotSpotTable> trickyTitles() {
    PlayerOptions options;
    options.setItem(qm::Choice::MouseSpeed, 5);
    options.setItem(qm::Choice::Pitch, 8);
    options.blackAreaColor = 0x00FF00;
    HotSpotTable table;
    table.put(3, HotSpotItem{"http://example.org/a?x=1&y=2#top", "A - B", 0, 12.25, 5, 1});
    table.put(4, HotSpotItem{"b.html", "Room (1)", -179, 0.5, 3, 0});
    table.put(5, HotSpotItem{"c.html", "Зал №1 — вход", 180, 7, 2, 0});
    table.put(6, HotSpotItem{"d.html", "say \"hi\" \\ </script>", 45, 8, 1, 0});
    table.put(7, HotSpotItem{"e.html", "a   b\u2028c 😀", 90, 9, 1, 1});
    table.put(8, HotSpotItem{"f.html", "x = y, z; (w) { } ! * / + < >", -90, 10, 1, 0});
    table.put(10, HotSpotItem{"  g.html ", "   ", 1, 11, 1, 0});
    return {options, table};
}

std::pair<PlayerOptions, HotSpotTable> fullWindow() {
    PlayerOptions options;
    options.fullScreen = true;
    options.transient.lockFullScreen = true;
    options.setItem(qm::Choice::Window, 1);
    HotSpotTable table;
    table.put(1, HotSpotItem{"one.html", "One", 10, 1, 1, 0});
    return {options, table};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: publish_scramble_cases OUT_DIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    if (qm::FileResult failed = qm::ensureFolder(out)) {
        std::cerr << failed->path << ": " << failed->reason << '\n';
        return 1;
    }
    const std::vector<std::pair<std::string, std::pair<PlayerOptions, HotSpotTable>>> cases = {
        {"defaults", defaults()}, {"tricky_titles", trickyTitles()}, {"full_window", fullWindow()}};
    for (const auto& [name, project] : cases) {
        PlayerOptions options = project.first;
        const std::string plain = qm::ConfigScriptWriter::scriptText(
            qm::resolvePublishedOptions(options).values, project.second);
        for (const auto& [suffix, text] :
             {std::pair{".plain.js", plain},
              std::pair{".scrambled.js", qm::ScriptScrambler::scrambled(plain)}}) {
            if (qm::FileResult failed = qm::writeFileAtomically(out / (name + suffix), text)) {
                std::cerr << failed->path << ": " << failed->reason << '\n';
                return 1;
            }
        }
    }
    return 0;
}
