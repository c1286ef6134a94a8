#include "app/cli/OpenCommand.h"

#include "app/cli/DesktopLauncher.h"

#include <memory>
#include <string>

namespace qm::cli {

CliCommand addOpenCommand(CLI::App& app, int argc, char** argv) {
    CLI::App* node = app.add_subcommand(
        "open", "Open the desktop window, with a project (.pp5) or a video file loaded when "
                "FILE is given (the desktop's menu entry starts it without one)");
    auto file = std::make_shared<std::string>();
    node->add_option("FILE", *file, "a .pp5 project, or a video to load as video 1");
    // Qt reads only the program name; the subcommand's arguments are ours.
    return {node, [file, argc, argv] {
                int qtArgc = argc > 0 ? 1 : 0;
                return launchDesktop(qtArgc, argv,
                                     file->empty() ? std::nullopt : std::optional(*file));
            }};
}

} // namespace qm::cli
