#pragma once
// The media probe on FFmpeg's libraries: headers only, bounded in time.

#include "media/MediaProbe.h"

namespace qm::media {

class FfmpegProbe final : public MediaProbe {
  public:
    ProbeReport probe(const std::filesystem::path& path,
                      std::chrono::milliseconds limit = kProbeTimeLimit) const override;
};

} // namespace qm::media
