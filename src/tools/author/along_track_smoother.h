#pragma once
// The train's distance along its track, smoothed from noisy GPS positions by a Kalman filter and
// Rauch-Tung-Striebel smoother over a constant-acceleration motion (position, speed, acceleration,
// with white jerk as the process noise). It weighs every point by the scatter of the fix, keeps
// steady acceleration and braking unbiased, and at a standstill averages every point of the stand
// (both ends of a track included, where window smoothers swing).
#include <vector>

namespace kestrel::author {

// `times` increasing; `metres` the measured distances; `scatterM` the fixes' standard deviation
// along the track; `jerk` the spectral density of the jerk (m^2/s^5).
std::vector<double> smoothAlongTrack(const std::vector<double>& times, const std::vector<double>& metres,
                                     double scatterM, double jerk);

}  // namespace kestrel::author
