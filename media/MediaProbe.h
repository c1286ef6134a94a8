#pragma once
// What a video file holds, as the media probe reads it from the file's
// headers, and the probe's interface. The probe itself runs on FFmpeg's
// libraries in a module of its own (quillmark_probe.so), loaded only by the
// commands and windows that look into videos, so that every other command
// starts without loading FFmpeg.

#include "publish/Mp4Boxes.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qm::media {

struct MediaFacts {
    std::string container;     // FFmpeg's short names: "mov,mp4,m4a,3gp,3g2,mj2"
    std::string containerName; // "QuickTime / MOV"
    bool hasVideo = false;
    std::string videoCodec;     // "h264", "hevc", "vp9", ...
    std::string videoCodecName; // "H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10"
    std::string profile;        // "High", "Main 10"; empty when unknown
    std::string pixelFormat;    // "yuv420p"; empty when unknown
    int width = 0;
    int height = 0;
    double displayAspect = 0; // width / height with the pixel aspect applied
    double frameRate = 0;
    double duration = 0;      // seconds; 0 when unknown
    std::int64_t bitRate = 0; // bits per second over the whole file; 0 when unknown
    std::string audioCodec;   // empty without sound
    int rotation = 0;         // degrees clockwise the picture is turned when shown
    IndexPlacement index = IndexPlacement::Unknown; // MP4 and QuickTime only
    std::uint64_t fileSize = 0;
};

enum class ProbeFailure { None, NotAFile, NotReadable, TimedOut };

struct ProbeReport {
    std::optional<MediaFacts> facts; // empty when the file could not be read
    ProbeFailure failure = ProbeFailure::None;
    std::string reason; // why, when facts is empty
};

// Reading the headers takes milliseconds; a file that keeps the probe busy
// for longer is reported as unreadable instead of holding the person up.
inline constexpr std::chrono::milliseconds kProbeTimeLimit{3000};

class MediaProbe {
  public:
    virtual ~MediaProbe() = default;
    // Never throws; a broken, truncated or hostile file gives a failure.
    virtual ProbeReport probe(const std::filesystem::path& path,
                              std::chrono::milliseconds limit = kProbeTimeLimit) const = 0;
};

} // namespace qm::media
