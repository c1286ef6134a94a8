#pragma once
// The desktop window is a shared module of its own, loaded only when the
// window opens, so that the command line starts without loading Qt. This is
// the one symbol between the executable and the module.

namespace qm::desktop {

// fileToOpen: a ".pp5" project or a video to load as video 1, or null.
// Returns the process exit code.
using RunDesktop = int (*)(int argc, char** argv, const char* fileToOpen);

inline constexpr const char* kEntryName = "quillmark_run_desktop";
// Beside the executable, or in its installed place (InstallLayout.h).
inline constexpr const char* kModuleFileName = "quillmark_desktop.so";

} // namespace qm::desktop

extern "C" int quillmark_run_desktop(int argc, char** argv, const char* fileToOpen);
