#include "app/cli/VideoFindings.h"

#include "app/cli/TerminalText.h"
#include "app/module/InstallLayout.h"
#include "persist/FileIo.h"

#include <iostream>

namespace qm::cli {

media::LoadedProbe loadProbe() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return media::loadProbeModule(desktop::installLayoutFor(executable).moduleDir /
                                  media::kProbeModuleFileName);
}

const media::MediaProbe* loadProbeOrWarn(std::string_view command) {
    const media::LoadedProbe loaded = loadProbe();
    if (loaded.probe == nullptr) {
        std::cerr << command << ": warning: the videos are not checked, the media probe cannot be "
                  << "loaded: " << terminalSafe(loaded.error) << '\n';
    }
    return loaded.probe;
}

void printFinding(std::ostream& out, std::string_view command, const std::filesystem::path& video,
                  const media::Finding& finding) {
    // A file name may hold bytes that a terminal would take for commands.
    out << command << ": " << media::levelName(finding.level, media::Language::English) << ": "
        << terminalSafe(pathText(video)) << ": " << terminalSafe(finding.english) << '\n';
}

std::vector<media::VideoCheck> checkAndWarn(const media::MediaProbe& probe,
                                            const std::vector<std::filesystem::path>& videos,
                                            std::string_view command, std::ostream& out) {
    std::vector<media::VideoCheck> checks;
    for (const std::filesystem::path& video : videos) {
        checks.push_back(media::checkVideo(probe, video));
        for (const media::Finding& finding : checks.back().findings) {
            printFinding(out, command, video, finding);
        }
    }
    return checks;
}

} // namespace qm::cli
