#pragma once
// Loads the media probe's module (quillmark_probe.so, FFmpeg inside) when a
// video is first looked into.

#include "media/MediaProbe.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace qm::media {

inline constexpr std::string_view kProbeModuleFileName = "quillmark_probe.so";
inline constexpr const char* kProbeEntryName = "quillmark_media_probe";
// The module and its loader must agree on the interface they share.
inline constexpr int kProbeInterfaceVersion = 1;
using ProbeEntry = const MediaProbe* (*)(int interfaceVersion);

struct LoadedProbe {
    const MediaProbe* probe = nullptr; // lives until the process ends
    std::string error;                 // why not, when probe is null
};

// The module is never unloaded: FFmpeg's libraries are not made to be.
LoadedProbe loadProbeModule(const std::filesystem::path& module);

} // namespace qm::media
