#pragma once
// Where the executable finds the files that come with it. In a build folder
// or a folder copied as a whole they lie beside it; once installed they lie
// under the install prefix, at the places the install rules put them, found
// from the executable's own folder so nothing depends on the prefix.

#include "app/module/DesktopEntry.h"

#include <filesystem>
#include <system_error>

#ifndef QM_MODULE_DIR_FROM_BIN
#define QM_MODULE_DIR_FROM_BIN "../lib/quillmark"
#endif
#ifndef QM_MANUAL_DIR_FROM_BIN
#define QM_MANUAL_DIR_FROM_BIN "../share/doc/quillmark"
#endif

namespace qm::desktop {

inline constexpr const char* kManualFileName = "tv360_player.pdf";

struct InstallLayout {
    std::filesystem::path moduleDir;
    std::filesystem::path manualDir;
    // Installed: nothing may be written beside the executable (the options
    // file goes to the user's configuration folder).
    bool installed = false;
};

// The layout the executable at `executable` runs in: beside it when the
// window module is there, the installed places otherwise.
inline InstallLayout installLayoutFor(const std::filesystem::path& executable) {
    const std::filesystem::path folder = executable.parent_path();
    std::error_code error;
    if (std::filesystem::exists(folder / kModuleFileName, error)) {
        return {folder, folder, false};
    }
    return {(folder / QM_MODULE_DIR_FROM_BIN).lexically_normal(),
            (folder / QM_MANUAL_DIR_FROM_BIN).lexically_normal(), true};
}

} // namespace qm::desktop
