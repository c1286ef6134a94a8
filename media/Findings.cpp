#include "media/Findings.h"

#include "publish/PlayerPageBuilder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace qm::media {
namespace {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string size(int width, int height) {
    return std::to_string(width) + " × " + std::to_string(height);
}

bool oneOf(std::string_view value, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// H.264 as browsers decode it: 8-bit 4:2:0 in the Baseline, Main or High profile.
bool browserH264(const MediaFacts& facts) {
    const bool profileOk = !startsWith(facts.profile, "High 10") &&
                           !startsWith(facts.profile, "High 4:") &&
                           !startsWith(facts.profile, "CAVLC");
    const bool pixelsOk =
        facts.pixelFormat.empty() || oneOf(facts.pixelFormat, {"yuv420p", "yuvj420p"});
    return profileOk && pixelsOk;
}

std::string upperExtension(const std::filesystem::path& video) {
    std::string extension = video.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

void codecFinding(const MediaFacts& facts, std::vector<Finding>& out) {
    const std::string& codec = facts.videoCodec;
    if (oneOf(codec, {"vp8", "vp9", "av1", "theora"}) || (codec == "h264" && browserH264(facts))) {
        return;
    }
    if (codec == "hevc") {
        out.push_back({Level::Error, "codec",
                       "its video is HEVC (H.265), which only Safari decodes: in Chrome, Firefox "
                       "and Edge the clock runs over a black sphere. Convert it to H.264 in MP4, "
                       "or publish a VP9 WebM as video 1 and this file after it.",
                       "видео в кодеке HEVC (H.265), который декодирует только Safari: в Chrome, "
                       "Firefox и Edge часы идут, а сфера остаётся чёрной. Перекодируйте его в "
                       "H.264 (MP4) или опубликуйте VP9 WebM первым видео, а этот файл после "
                       "него."});
        return;
    }
    std::string named = facts.videoCodecName.empty() ? codec : facts.videoCodecName;
    if (codec == "h264") {
        named = "H.264 " + facts.profile +
                (facts.pixelFormat.empty() ? "" : " (" + facts.pixelFormat + ")");
    }
    out.push_back({Level::Error, "codec",
                   "its video is " + named +
                       ", which browsers cannot decode: the sphere stays black. Convert it to "
                       "H.264 (High, 8-bit 4:2:0) in MP4 or VP9 in WebM.",
                   "видео в формате " + named +
                       ", который браузеры не декодируют: сфера останется чёрной. Перекодируйте "
                       "его в H.264 (High, 8 бит 4:2:0) в MP4 или в VP9 в WebM."});
}

void sizeFindings(const MediaFacts& facts, std::vector<Finding>& out) {
    const std::string shown = size(facts.width, facts.height);
    if (facts.width > 8192) {
        out.push_back({Level::Error, "wider-than-8192",
                       "is " + shown +
                           ": no browser can draw a video wider than 8192 pixels. Scale it to "
                           "8192 × 4096 or less (4096 × 2048 for phones).",
                       "размер " + shown +
                           ": ни один браузер не нарисует видео шире 8192 пикселей. Уменьшите "
                           "его до 8192 × 4096 или меньше (4096 × 2048 для телефонов)."});
    } else if (facts.width > 4096) {
        out.push_back({Level::Warning, "wider-than-4096",
                       "is " + shown +
                           ": many phones and mobile graphics chips cannot play a video wider "
                           "than 4096 pixels. Use 4096 × 2048 or less to reach them.",
                       "размер " + shown +
                           ": многие телефоны и мобильные видеочипы не воспроизводят видео шире "
                           "4096 пикселей. Чтобы видео шло и на них, возьмите 4096 × 2048 или "
                           "меньше."});
    }
    // A picture turned by a quarter shows with width and height swapped.
    const bool quarterTurn = facts.rotation == 90 || facts.rotation == 270;
    const double aspect =
        quarterTurn && facts.displayAspect > 0 ? 1 / facts.displayAspect : facts.displayAspect;
    if (aspect > 0 && std::fabs(aspect / 2 - 1) > 0.01) {
        const std::string ratio = fixed(aspect, 2);
        out.push_back({Level::Warning, "not-2-to-1",
                       "is " + shown + " (" + ratio +
                           ":1), not 2:1: the player stretches it over the sphere. Use an "
                           "equirectangular 360° video of 2:1, such as 3840 × 1920.",
                       "размер " + shown + " (" + ratio +
                           ":1), а не 2:1: плеер растянет его по сфере. Нужно "
                           "равнопромежуточное 360° видео 2:1, например 3840 × 1920."});
    }
    if (facts.rotation != 0) {
        const std::string degrees = std::to_string(facts.rotation) + "°";
        out.push_back({Level::Warning, "rotated",
                       "is marked to be turned by " + degrees +
                           ": browsers turn the picture before the player wraps it, so the "
                           "sphere is turned too. Save it again without the rotation.",
                       "помечено для поворота на " + degrees +
                           ": браузер повернёт кадр до того, как плеер натянет его на сферу, и "
                           "сфера окажется повёрнутой. Сохраните видео без поворота."});
    }
}

void indexFinding(const MediaFacts& facts, const PublishFixes& fixes, std::vector<Finding>& out) {
    if (facts.index != IndexPlacement::AtEnd) {
        return;
    }
    if (fixes.indexMoved) {
        out.push_back({Level::Note, "index-at-end",
                       "has its index (moov) at the end: from a web server it would start only "
                       "after the whole file has loaded. Publishing writes the copy with the "
                       "index first; your file is not changed.",
                       "индекс (moov) записан в конце файла: с веб-сервера видео началось бы "
                       "только после загрузки всего файла. Публикация запишет копию с индексом "
                       "в начале; ваш файл не меняется."});
        return;
    }
    out.push_back({Level::Warning, "index-at-end",
                   "has its index (moov) at the end: from a web server it starts only after "
                   "the whole file has loaded, and this copy cannot be fixed here. Save it again "
                   "with the index first (ffmpeg -i IN -c copy -movflags +faststart OUT.mp4).",
                   "индекс (moov) записан в конце файла: с веб-сервера видео начнётся только "
                   "после загрузки всего файла, а исправить эту копию здесь нельзя. Сохраните "
                   "его с индексом в начале (ffmpeg -i IN -c copy -movflags +faststart "
                   "OUT.mp4)."});
}

void bitRateFinding(const MediaFacts& facts, std::vector<Finding>& out) {
    const double mbps = static_cast<double>(facts.bitRate) / 1e6;
    if (mbps <= kHighBitRateMbps) {
        return;
    }
    const std::string shown = fixed(mbps, 1);
    out.push_back({Level::Warning, "high-bit-rate",
                   "runs at " + shown +
                       " Mbit/s: viewers need a faster connection than that or the video "
                       "stalls. About 20 Mbit/s is plenty for 4K 360° video.",
                   "поток " + shown +
                       " Мбит/с: зрителям нужно соединение быстрее, иначе видео будет "
                       "останавливаться. Для 360° видео 4K хватает около 20 Мбит/с."});
}

void containerFindings(const std::filesystem::path& video, const MediaFacts* facts,
                       const PublishFixes& fixes, std::vector<Finding>& out) {
    const std::string name = video.filename().string();
    const std::string extension = video.extension().string();
    if (!PlayerPageBuilder::typeText(name)) {
        const std::string shown =
            extension.empty() ? "a file without an extension" : extension + " files";
        const std::string shownRu =
            extension.empty() ? "файла без расширения" : "файлов " + extension;
        out.push_back({Level::Error, "container",
                       "the player page cannot name the type of " + shown +
                           ", so publishing stops. Convert it to MP4 (H.264, AAC) or "
                           "WebM (VP9, Opus).",
                       "страница плеера не может указать тип " + shownRu +
                           ", поэтому публикация остановится. Перекодируйте видео в MP4 "
                           "(H.264, AAC) или WebM (VP9, Opus)."});
        return;
    }
    if (facts == nullptr || !oneOf(upperExtension(video), {".MOV", ".QT"})) {
        return;
    }
    if (fixes.servedAsMp4) {
        out.push_back({Level::Note, "quicktime-type",
                       "is a QuickTime file with H.264 video: the page names it video/mp4, "
                       "which browsers accept (they refuse video/quicktime).",
                       "это файл QuickTime с видео H.264: страница укажет тип video/mp4, "
                       "который браузеры принимают (video/quicktime они отвергают)."});
    } else if (facts->hasVideo) {
        out.push_back({Level::Warning, "quicktime-type",
                       "is a QuickTime file that the page must name video/quicktime, which "
                       "Chrome and Firefox refuse. Convert it to MP4 (H.264, AAC).",
                       "это файл QuickTime, для которого страница укажет тип video/quicktime, "
                       "а Chrome и Firefox его отвергают. Перекодируйте его в MP4 (H.264, AAC)."});
    }
}

void audioFinding(const MediaFacts& facts, std::vector<Finding>& out) {
    if (facts.audioCodec.empty() ||
        oneOf(facts.audioCodec, {"aac", "mp3", "opus", "vorbis", "flac"})) {
        return;
    }
    out.push_back({Level::Warning, "audio-codec",
                   "its sound is " + facts.audioCodec +
                       ", which browsers do not play in a video: the video may not play at all. "
                       "Use AAC (MP4) or Opus (WebM).",
                   "звук в формате " + facts.audioCodec +
                       ", который браузеры в видео не воспроизводят: видео может не "
                       "запуститься. Возьмите AAC (MP4) или Opus (WebM)."});
}

} // namespace

std::vector<Finding> findingsFor(const std::filesystem::path& video, const ProbeReport& report,
                                 const PublishFixes& fixes) {
    std::vector<Finding> out;
    const MediaFacts* facts = report.facts ? &*report.facts : nullptr;
    if (facts == nullptr) {
        out.push_back({Level::Error, "not-a-video",
                       "is not a video that can be read (" + report.reason +
                           "): the page would show nothing. Pick the video file itself.",
                       "это не видеофайл, который можно прочитать (" + report.reason +
                           "): страница ничего не покажет. Выберите сам видеофайл."});
    } else if (!facts->hasVideo) {
        out.push_back({Level::Error, "no-video-stream",
                       "holds no video stream, only sound or data: the sphere stays black. Pick "
                       "a file with a video stream.",
                       "в файле нет видеопотока, только звук или данные: сфера останется "
                       "чёрной. Выберите файл с видео."});
    }
    containerFindings(video, facts, fixes, out);
    if (facts != nullptr && facts->hasVideo) {
        codecFinding(*facts, out);
        sizeFindings(*facts, out);
        indexFinding(*facts, fixes, out);
        bitRateFinding(*facts, out);
        audioFinding(*facts, out);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Finding& a, const Finding& b) { return a.level < b.level; });
    return out;
}

std::string_view levelName(Level level, Language language) {
    constexpr std::array<std::string_view, 3> kEnglish = {"error", "warning", "note"};
    constexpr std::array<std::string_view, 3> kRussian = {"ошибка", "предупреждение", "примечание"};
    const auto i = static_cast<std::size_t>(level);
    return language == Language::Russian ? kRussian[i] : kEnglish[i];
}

} // namespace qm::media
