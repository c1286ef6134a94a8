#pragma once
// js/ctr/cn0.js: the global variables the web player reads, and the six
// arrays of the ten hot spot slots.

#include "model/HotSpotTable.h"
#include "model/PlayerOptions.h"
#include "publish/PackageFiles.h"

#include <filesystem>
#include <string>

namespace qm {

class ConfigScriptWriter {
  public:
    // The plain script, CR LF line ends, UTF-8 texts.
    static std::string scriptText(const PublishedOptions& options, const HotSpotTable& hotSpots);

    static std::filesystem::path scriptPath(const std::filesystem::path& outputFolder);

    // The shift by half a turn: yaw >= 0 gives yaw - 180, below 0 yaw + 180.
    static int publishedYaw(int storedYaw);
};

} // namespace qm
