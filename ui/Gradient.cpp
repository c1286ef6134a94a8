#include "ui/Gradient.h"

#include <cfenv>
#include <cmath>

namespace qm::ui {

QColor bandColour(GradientFamily family, int band) {
    const int fall = 255 - band;
    switch (family) {
    case GradientFamily::Blue:
        return {0, 199 - band, fall};
    case GradientFamily::Green:
        return {0, fall, 0};
    case GradientFamily::Grey:
        return {fall, fall, fall};
    case GradientFamily::Red:
        return {fall, 0, 0};
    case GradientFamily::Teal:
        return {0, fall, fall};
    }
    return {};
}

namespace {

// Nearest integer with ties to even, whatever the caller's rounding mode.
int roundHalfEven(float value) {
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const int rounded = static_cast<int>(std::nearbyint(value));
    std::fesetround(saved);
    return rounded;
}

} // namespace

BandRows bandRows(int height, int band) {
    // The step is held in single precision: which row a band edge such as 0.5
    // rounds to depends on it, and the buttons' rows are laid out for it.
    const auto step = static_cast<float>(height * 0.005);
    const float top = step * static_cast<float>(band);
    const float bottom = step * static_cast<float>(band + 1);
    return {roundHalfEven(top), roundHalfEven(bottom)};
}

} // namespace qm::ui
