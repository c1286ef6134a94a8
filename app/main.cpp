#include "app/cli/CommandLine.h"
#include "app/cli/DesktopLauncher.h"

#include <optional>

// Without arguments the desktop window opens; with any, the command line runs.
int main(int argc, char** argv) {
    if (argc <= 1) {
        return qm::cli::launchDesktop(argc, argv, std::nullopt);
    }
    return qm::cli::run(argc, argv);
}
