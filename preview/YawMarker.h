#pragma once
// Where the green yaw marker stands over the preview for a slider angle.

namespace qm::preview {

inline constexpr int kYawMin = -179;
inline constexpr int kYawMax = 180;

// x = 585 + 335 x yaw / 185, rounded to the nearest pixel.
int markerX(int yaw);

} // namespace qm::preview
