#pragma once
// One video looked into: the probe's facts, what publishing will fix and the
// findings, as `quillmark check`, `new`, `publish` and the window use them.

#include "media/Findings.h"

#include <string>
#include <vector>

namespace qm::media {

struct VideoCheck {
    std::filesystem::path path;
    ProbeReport report;
    PublishFixes fixes;
    std::vector<Finding> findings;

    bool has(Level level) const;
};

VideoCheck checkVideo(const MediaProbe& probe, const std::filesystem::path& path);

bool anyFinding(const std::vector<VideoCheck>& checks, Level level);

} // namespace qm::media
