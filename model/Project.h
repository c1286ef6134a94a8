#pragma once
// Everything one publication is made from: the options, the three video paths
// and the hot spot table.

#include "model/HotSpotTable.h"
#include "model/PlayerOptions.h"

namespace qm {

struct Project {
    PlayerOptions options;
    VideoPaths videos;
    HotSpotTable hotSpots;
    bool operator==(const Project&) const = default;
};

} // namespace qm
