#include "app/module/DesktopEntry.h"

#include "app/DesktopApp.h"
#include "app/module/ExitCodes.h"

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <type_traits>

extern "C" int quillmark_run_desktop(int argc, char** argv, const char* fileToOpen) {
    // A loaded module must not let a C++ exception cross into the loader.
    try {
        std::optional<std::string> file;
        if (fileToOpen != nullptr) {
            file = fileToOpen;
        }
        return qm::app::runDesktop(argc, argv, file);
    } catch (const std::exception& error) {
        std::cerr << "quillmark: the desktop window stopped: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "quillmark: the desktop window stopped\n";
    }
    // The documented code of a run that stopped before its end.
    return qm::kStopped;
}

// The loader calls through this type; it must be the definition's.
static_assert(std::is_same_v<qm::desktop::RunDesktop, decltype(&quillmark_run_desktop)>);
