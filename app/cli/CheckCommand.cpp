#include "app/cli/CheckCommand.h"

#include "app/cli/TerminalText.h"
#include "app/cli/VideoFindings.h"
#include "media/ProbeModule.h"
#include "persist/FileIo.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;
using media::Finding;
using media::MediaFacts;
using media::VideoCheck;

struct CheckArgs {
    std::vector<std::string> videos;
    bool json = false;
};

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string fileSizeText(std::uint64_t bytes) {
    const double value = static_cast<double>(bytes);
    return value >= 1e9   ? fixed(value / 1e9, 2) + " GB"
           : value >= 1e6 ? fixed(value / 1e6, 1) + " MB"
                          : fixed(value / 1e3, 1) + " KB";
}

std::string_view indexText(IndexPlacement index) {
    switch (index) {
    case IndexPlacement::First:
        return "first";
    case IndexPlacement::AtEnd:
        return "at the end";
    case IndexPlacement::Unknown:
        break;
    }
    return "-";
}

std::string videoLine(const MediaFacts& facts) {
    if (!facts.hasVideo) {
        return "none";
    }
    std::string line = facts.videoCodec;
    if (!facts.profile.empty()) {
        line += " " + facts.profile;
    }
    line += ", " + std::to_string(facts.width) + " × " + std::to_string(facts.height);
    if (facts.displayAspect > 0) {
        line += " (" + fixed(facts.displayAspect, 2) + ":1)";
    }
    if (facts.frameRate > 0) {
        const bool whole =
            facts.frameRate == static_cast<double>(static_cast<int>(facts.frameRate));
        line += ", " + fixed(facts.frameRate, whole ? 0 : 3) + " fps";
    }
    if (!facts.pixelFormat.empty()) {
        line += ", " + facts.pixelFormat;
    }
    return line;
}

void printText(const VideoCheck& check) {
    std::cout << terminalSafe(pathText(check.path)) << '\n';
    auto row = [](std::string_view label, const std::string& value) {
        std::cout << "  " << label << std::string(11 - label.size(), ' ') << value << '\n';
    };
    if (const auto& facts = check.report.facts) {
        row("container", facts->containerName + " (" + facts->container + ")");
        row("video", videoLine(*facts));
        row("sound", facts->audioCodec.empty() ? "none" : facts->audioCodec);
        row("duration", facts->duration > 0 ? fixed(facts->duration, 1) + " s" : "-");
        row("bit rate", fixed(static_cast<double>(facts->bitRate) / 1e6, 1) + " Mbit/s (" +
                            fileSizeText(facts->fileSize) + ")");
        row("index", std::string(indexText(facts->index)));
        if (facts->rotation != 0) {
            row("rotation", std::to_string(facts->rotation) + "°");
        }
    }
    for (const Finding& finding : check.findings) {
        std::cout << "  " << media::levelName(finding.level, media::Language::English) << ": "
                  << terminalSafe(finding.english) << '\n';
    }
}

nlohmann::json factsJson(const MediaFacts& facts) {
    return {
        {"container", facts.container},
        {"containerName", facts.containerName},
        {"video", facts.hasVideo},
        {"videoCodec", facts.videoCodec},
        {"profile", facts.profile},
        {"pixelFormat", facts.pixelFormat},
        {"width", facts.width},
        {"height", facts.height},
        {"displayAspect", facts.displayAspect},
        {"frameRate", facts.frameRate},
        {"duration", facts.duration},
        {"bitRate", facts.bitRate},
        {"audioCodec", facts.audioCodec},
        {"rotation", facts.rotation},
        {"index", facts.index == IndexPlacement::First   ? "first"
                  : facts.index == IndexPlacement::AtEnd ? "end"
                                                         : "unknown"},
        {"fileSize", facts.fileSize},
    };
}

nlohmann::json checkJson(const VideoCheck& check) {
    nlohmann::json findings = nlohmann::json::array();
    for (const Finding& finding : check.findings) {
        findings.push_back({{"level", media::levelName(finding.level, media::Language::English)},
                            {"code", finding.code},
                            {"message", finding.english}});
    }
    nlohmann::json entry = {
        {"path", pathText(check.path)},
        {"readable", check.report.facts.has_value()},
        {"findings", findings},
        {"publishing",
         {{"indexMovedFirst", check.fixes.indexMoved}, {"namedVideoMp4", check.fixes.servedAsMp4}}},
    };
    entry["facts"] = check.report.facts ? factsJson(*check.report.facts) : nlohmann::json();
    if (!check.report.facts) {
        entry["reason"] = check.report.reason;
    }
    return entry;
}

int checkVideos(const CheckArgs& args) {
    const media::LoadedProbe loaded = loadProbe();
    if (loaded.probe == nullptr) {
        std::cerr << "quillmark check: the media probe cannot be loaded: "
                  << terminalSafe(loaded.error) << '\n';
        return kFileSystem;
    }
    std::vector<VideoCheck> checks;
    std::error_code code;
    const fs::path currentDir = fs::current_path(code);
    for (const std::string& video : args.videos) {
        checks.push_back(media::checkVideo(*loaded.probe, (currentDir / video).lexically_normal()));
    }
    if (args.json) {
        nlohmann::json all = nlohmann::json::array();
        for (const VideoCheck& check : checks) {
            all.push_back(checkJson(check));
        }
        // Paths are bytes of the file system; never let one stop the output.
        std::cout << all.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        for (std::size_t i = 0; i < checks.size(); ++i) {
            std::cout << (i > 0 ? "\n" : "");
            printText(checks[i]);
        }
    }
    return media::anyFinding(checks, media::Level::Error) ? kStopped : kOk;
}

} // namespace

CliCommand addCheckCommand(CLI::App& app) {
    auto args = std::make_shared<CheckArgs>();
    CLI::App* node = app.add_subcommand(
        "check", "Show what each video holds (container, codec, size, frame rate, duration, bit "
                 "rate, sound, rotation, where its index lies) and what will go wrong with it "
                 "on the web. Reads headers only.");
    node->add_option("VIDEOS", args->videos, "Video files")->required();
    node->add_flag("--json", args->json, "Print the facts and findings as JSON");
    node->footer("Levels: error (will not play for most viewers), warning (plays badly or not for "
                 "some), note (publishing fixes it).\nExit codes: 0 no errors, 1 a video has an "
                 "error, 2 usage, 3 the media probe cannot be loaded.");
    return {node, [args] { return checkVideos(*args); }};
}

} // namespace qm::cli
