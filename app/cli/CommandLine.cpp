#include "app/cli/CommandLine.h"

#include "app/cli/CheckCommand.h"
#include "app/cli/CliCommand.h"
#include "app/cli/HotSpotCommand.h"
#include "app/cli/InfoCommand.h"
#include "app/cli/NewCommand.h"
#include "app/cli/OpenCommand.h"
#include "app/cli/PublishCommand.h"
#include "app/cli/ServeCommand.h"
#include "app/cli/SetCommand.h"

#include <vector>

// Each subcommand lives in its own file and is added here.
namespace qm::cli {

int run(int argc, char** argv) {
    CLI::App app{"Quillmark: publishes 360° video with hot spots as a self-contained HTML5 "
                 "package.\nWithout arguments it opens the desktop window.",
                 "quillmark"};
    app.set_version_flag("--version", QM_VERSION);
    app.require_subcommand(1, 1);

    std::vector<CliCommand> commands;
    commands.push_back(addNewCommand(app));
    commands.push_back(addInfoCommand(app));
    commands.push_back(addOpenCommand(app, argc, argv));
    commands.push_back(addPublishCommand(app));
    commands.push_back(addServeCommand(app));
    commands.push_back(addSetCommand(app));
    commands.push_back(addHotSpotCommand(app));
    commands.push_back(addCheckCommand(app));

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int printed = app.exit(error);
        return printed == 0 ? kOk : kUsage;
    }
    for (const CliCommand& command : commands) {
        if (command.node->parsed()) {
            return command.run();
        }
    }
    return kUsage;
}

} // namespace qm::cli
