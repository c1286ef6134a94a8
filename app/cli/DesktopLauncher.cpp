#include "app/cli/DesktopLauncher.h"

#include "app/cli/CliCommand.h"
#include "app/module/DesktopEntry.h"
#include "app/module/InstallLayout.h"

#include <dlfcn.h>

#include <filesystem>
#include <iostream>
#include <system_error>

namespace qm::cli {

namespace {
std::filesystem::path runningExecutable() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

// dlerror() names the module file in its reason.
int reportLoadFailure(const std::filesystem::path& module, const char* reason) {
    std::cerr << "quillmark: the desktop window cannot start: "
              << (reason != nullptr ? reason : module.string()) << '\n';
    return kFileSystem;
}

std::filesystem::path desktopModulePath() {
    return desktop::installLayoutFor(runningExecutable()).moduleDir / desktop::kModuleFileName;
}
} // namespace

int launchDesktop(int argc, char** argv, const std::optional<std::string>& fileToOpen) {
    const std::filesystem::path module = desktopModulePath();
    // Never unloaded: Qt keeps threads and exit handlers alive until the
    // process ends.
    void* const handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return reportLoadFailure(module, dlerror());
    }
    void* const symbol = dlsym(handle, desktop::kEntryName);
    if (symbol == nullptr) {
        return reportLoadFailure(module, dlerror());
    }
    const auto run = reinterpret_cast<desktop::RunDesktop>(symbol);
    return run(argc, argv, fileToOpen ? fileToOpen->c_str() : nullptr);
}

} // namespace qm::cli
