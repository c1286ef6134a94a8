#pragma once
// The 200-band vertical gradient of the owner-drawn command buttons.

#include <QColor>

namespace qm::ui {

enum class GradientFamily { Blue, Green, Grey, Red, Teal };

inline constexpr int kBandCount = 200;

// Colour of band i (0 at the top, light; 199 at the bottom, dark).
QColor bandColour(GradientFamily family, int band);

// Rows [top, bottom) of band i for a client height: the step is height x 0.005
// held as a float, and each edge is rounded to the nearest row, ties to even.
struct BandRows {
    int top = 0;
    int bottom = 0;
};
BandRows bandRows(int height, int band);

} // namespace qm::ui
