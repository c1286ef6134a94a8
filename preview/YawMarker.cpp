#include "preview/YawMarker.h"

#include <cmath>

namespace qm::preview {

int markerX(int yaw) {
    constexpr double kCentre = 585.0;
    constexpr double kSpan = 335.0;
    constexpr double kRange = 185.0;
    return static_cast<int>(std::lround(kCentre + kSpan * yaw / kRange));
}

} // namespace qm::preview
