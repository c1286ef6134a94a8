#include "media/ProbeModule.h"

#include <dlfcn.h>

namespace qm::media {

LoadedProbe loadProbeModule(const std::filesystem::path& module) {
    void* const handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        return {nullptr, reason != nullptr ? reason : module.string()};
    }
    void* const symbol = dlsym(handle, kProbeEntryName);
    if (symbol == nullptr) {
        const char* reason = dlerror();
        return {nullptr, reason != nullptr ? reason : module.string()};
    }
    const MediaProbe* probe = reinterpret_cast<ProbeEntry>(symbol)(kProbeInterfaceVersion);
    if (probe == nullptr) {
        return {nullptr, module.string() + ": built for another version of quillmark"};
    }
    return {probe, {}};
}

} // namespace qm::media
