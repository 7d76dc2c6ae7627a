#pragma once
// Volumes of the sound rules: hundredths of a decibel from a logarithm, held within the mixer's
// range. A ratio of 0 or less (a sound at zero speed or level) is silent rather than a logarithm
// of nothing.
#include <cmath>
#include <cstdint>

#include "core/ports/mixer.h"
#include "core/util/rounding.h"

namespace kestrel {

// round(log10(ratio) x scale), within Mixer::kSilent .. 0.
inline int32_t logVolume(double ratio, double scale) {
  if (!(ratio > 0) || !std::isfinite(ratio)) return Mixer::kSilent;
  const int32_t v = roundHalfAway(std::log10(ratio) * scale);
  if (v < Mixer::kSilent) return Mixer::kSilent;
  return v > 0 ? 0 : v;
}

// Linear interpolation of y0..y1 over x0..x1 at x; y0 when the two x are the same.
inline double interpolate(double x, double x0, double x1, double y0, double y1) {
  if (x1 == x0) return y0;
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

}  // namespace kestrel
