#include "media/VideoCheck.h"

#include "publish/VideoCopy.h"

#include <algorithm>

namespace qm::media {

bool VideoCheck::has(Level level) const {
    return std::any_of(findings.begin(), findings.end(),
                       [level](const Finding& finding) { return finding.level == level; });
}

VideoCheck checkVideo(const MediaProbe& probe, const std::filesystem::path& path) {
    VideoCheck check{path, probe.probe(path), {}, {}};
    if (check.report.facts) {
        const VideoCopyPlan plan = planVideoCopy(path);
        check.fixes = {plan.indexMoved, plan.servedAsMp4};
    }
    check.findings = findingsFor(path, check.report, check.fixes);
    return check;
}

bool anyFinding(const std::vector<VideoCheck>& checks, Level level) {
    return std::any_of(checks.begin(), checks.end(),
                       [level](const VideoCheck& check) { return check.has(level); });
}

} // namespace qm::media
