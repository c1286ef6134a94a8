#include "media/ffmpeg/FfmpegProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/pixdesc.h>
}

#include <cmath>
#include <exception>
#include <memory>
#include <span>

namespace qm::media {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Deadline {
    Clock::time_point at;
    bool passed() const { return Clock::now() >= at; }
};

// FFmpeg asks this between reads; a non-zero answer ends the operation.
int interruptAtDeadline(void* opaque) {
    return static_cast<const Deadline*>(opaque)->passed() ? 1 : 0;
}

struct CloseInput {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using FormatContext = std::unique_ptr<AVFormatContext, CloseInput>;

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

std::string orEmpty(const char* text) {
    return text != nullptr ? text : "";
}

// The profile from the decoder configuration record when the container did
// not name it: avcC (H.264) and hvcC (HEVC) keep it in their first bytes.
int profileFromExtradata(const AVCodecParameters& codec) {
    const std::span<const std::uint8_t> data(codec.extradata,
                                             static_cast<std::size_t>(codec.extradata_size));
    if (data.size() < 4 || data[0] != 1) {
        return FF_PROFILE_UNKNOWN;
    }
    if (codec.codec_id == AV_CODEC_ID_H264) {
        int profile = data[1];
        if (profile == FF_PROFILE_H264_BASELINE && (data[2] & 0x40) != 0) {
            profile |= FF_PROFILE_H264_CONSTRAINED;
        }
        return profile;
    }
    if (codec.codec_id == AV_CODEC_ID_HEVC) {
        return data[1] & 0x1F;
    }
    return FF_PROFILE_UNKNOWN;
}

std::string profileName(const AVCodecParameters& codec) {
    const int profile =
        codec.profile != FF_PROFILE_UNKNOWN ? codec.profile : profileFromExtradata(codec);
    return profile == FF_PROFILE_UNKNOWN ? ""
                                         : orEmpty(avcodec_profile_name(codec.codec_id, profile));
}

const AVStream* firstStream(const AVFormatContext& context, AVMediaType type) {
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream* stream = context.streams[i];
        // A cover picture is not the video.
        if (stream->codecpar->codec_type == type &&
            (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) == 0) {
            return stream;
        }
    }
    return nullptr;
}

// Headers name every stream's codec and picture size in the containers the
// player takes; only others (MPEG streams and the like) need packets read.
bool needsStreamInfo(const AVFormatContext& context) {
    if ((context.ctx_flags & AVFMTCTX_NOHEADER) != 0 || context.nb_streams == 0) {
        return true;
    }
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVCodecParameters& codec = *context.streams[i]->codecpar;
        if (codec.codec_id == AV_CODEC_ID_NONE ||
            (codec.codec_type == AVMEDIA_TYPE_VIDEO && (codec.width <= 0 || codec.height <= 0))) {
            return true;
        }
    }
    return false;
}

int rotationOf(const AVStream& stream) {
    std::size_t size = 0;
    const std::uint8_t* matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (matrix == nullptr || size < 9 * sizeof(std::int32_t)) {
        return 0;
    }
    const double counterClockwise =
        av_display_rotation_get(reinterpret_cast<const std::int32_t*>(matrix));
    if (std::isnan(counterClockwise)) {
        return 0;
    }
    const long degrees = std::lround(-counterClockwise) % 360;
    return static_cast<int>(degrees < 0 ? degrees + 360 : degrees);
}

double rate(AVRational value) {
    return value.num > 0 && value.den > 0 ? av_q2d(value) : 0.0;
}

void readVideo(const AVStream& stream, MediaFacts& facts) {
    const AVCodecParameters& codec = *stream.codecpar;
    facts.hasVideo = true;
    facts.videoCodec = orEmpty(avcodec_get_name(codec.codec_id));
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec.codec_id);
    facts.videoCodecName =
        descriptor != nullptr ? orEmpty(descriptor->long_name) : facts.videoCodec;
    facts.profile = profileName(codec);
    facts.pixelFormat = orEmpty(av_get_pix_fmt_name(static_cast<AVPixelFormat>(codec.format)));
    facts.width = codec.width;
    facts.height = codec.height;
    double pixelAspect = rate(stream.sample_aspect_ratio);
    if (pixelAspect == 0) {
        pixelAspect = rate(codec.sample_aspect_ratio);
    }
    if (codec.height > 0) {
        facts.displayAspect = static_cast<double>(codec.width) *
                              (pixelAspect > 0 ? pixelAspect : 1) /
                              static_cast<double>(codec.height);
    }
    facts.frameRate = rate(stream.avg_frame_rate);
    if (facts.frameRate == 0) {
        facts.frameRate = rate(stream.r_frame_rate);
    }
    facts.rotation = rotationOf(stream);
}

double durationOf(const AVFormatContext& context, const AVStream* video) {
    if (context.duration != AV_NOPTS_VALUE && context.duration > 0) {
        return static_cast<double>(context.duration) / AV_TIME_BASE;
    }
    if (video != nullptr && video->duration != AV_NOPTS_VALUE && video->duration > 0) {
        return static_cast<double>(video->duration) * av_q2d(video->time_base);
    }
    return 0;
}

MediaFacts factsOf(const AVFormatContext& context, const fs::path& path, std::uint64_t size) {
    MediaFacts facts;
    facts.fileSize = size;
    facts.container = orEmpty(context.iformat->name);
    facts.containerName = orEmpty(context.iformat->long_name);
    const AVStream* video = firstStream(context, AVMEDIA_TYPE_VIDEO);
    if (video != nullptr) {
        readVideo(*video, facts);
    }
    if (const AVStream* audio = firstStream(context, AVMEDIA_TYPE_AUDIO)) {
        facts.audioCodec = orEmpty(avcodec_get_name(audio->codecpar->codec_id));
    }
    facts.duration = durationOf(context, video);
    facts.bitRate = context.bit_rate;
    if (facts.bitRate <= 0 && facts.duration > 0) {
        facts.bitRate = static_cast<std::int64_t>(static_cast<double>(size) * 8 / facts.duration);
    }
    if (facts.container.find("mp4") != std::string::npos ||
        facts.container.find("mov") != std::string::npos) {
        if (const std::optional<Mp4Layout> layout = readMp4Layout(path)) {
            facts.index = indexPlacement(*layout);
        }
    }
    return facts;
}

ProbeReport failed(ProbeFailure failure, std::string reason) {
    return {std::nullopt, failure, std::move(reason)};
}

ProbeReport probeFile(const fs::path& path, std::chrono::milliseconds limit) {
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (code || !fs::exists(status)) {
        return failed(ProbeFailure::NotAFile, "the file does not exist");
    }
    // A pipe or a device could block the reader for ever.
    if (!fs::is_regular_file(status)) {
        return failed(ProbeFailure::NotAFile, "this is not a regular file");
    }
    const std::uint64_t size = fs::file_size(path, code);
    if (code || size == 0) {
        return failed(ProbeFailure::NotReadable, "the file is empty");
    }
    av_log_set_level(AV_LOG_QUIET);
    Deadline deadline{Clock::now() + limit};
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) {
        return failed(ProbeFailure::NotReadable, "out of memory");
    }
    raw->interrupt_callback = {interruptAtDeadline, &deadline};
    // Enough to recognise any container and to find the codecs of streams
    // whose headers do not name them; never the whole file.
    raw->probesize = 5 * 1024 * 1024;
    // Every container the player takes is named within its first kilobytes;
    // bytes of no container would otherwise be tried against every format
    // over a whole megabyte, costing a tenth of a second.
    raw->format_probesize = 64 * 1024;
    raw->max_analyze_duration = 2 * AV_TIME_BASE;
    const int opened = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (opened < 0) { // raw is freed
        return deadline.passed()
                   ? failed(ProbeFailure::TimedOut, "reading its headers took too long")
                   : failed(ProbeFailure::NotReadable, errorText(opened));
    }
    const FormatContext context(raw);
    if (needsStreamInfo(*context)) {
        avformat_find_stream_info(context.get(), nullptr);
    }
    if (deadline.passed()) {
        return failed(ProbeFailure::TimedOut, "reading its headers took too long");
    }
    return {factsOf(*context, path, size), ProbeFailure::None, {}};
}

} // namespace

ProbeReport FfmpegProbe::probe(const std::filesystem::path& path,
                               std::chrono::milliseconds limit) const {
    try {
        return probeFile(path, limit);
    } catch (const std::exception& error) {
        return failed(ProbeFailure::NotReadable, error.what());
    }
}

} // namespace qm::media
