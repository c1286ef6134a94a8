// The entry of quillmark_probe.so: hands the loader the probe.
#include "media/ProbeModule.h"
#include "media/ffmpeg/FfmpegProbe.h"

#include <type_traits>

extern "C" const qm::media::MediaProbe* quillmark_media_probe(int interfaceVersion) {
    static const qm::media::FfmpegProbe probe;
    return interfaceVersion == qm::media::kProbeInterfaceVersion ? &probe : nullptr;
}

// The loader calls through this type; it must be the definition's.
static_assert(std::is_same_v<qm::media::ProbeEntry, decltype(&quillmark_media_probe)>);
