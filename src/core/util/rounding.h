#pragma once
// The two roundings of the simulator.
//
// roundHalfAway: x + 0.5 truncated for x >= 0, x - 0.5 truncated for x < 0. Needle angles, frame
//   steps, interpolations and every integer the simulation takes from a float.
// roundHalfEven: to nearest, ties to even. Screen positions, font sizes, measured rates and the
//   places that name it.
// Both saturate at the 32-bit range instead of overflowing.
#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrel {

namespace detail {
inline int32_t saturateToInt32(double t) {
  if (std::isnan(t)) return 0;
  if (t >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (t <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(t);
}
}  // namespace detail

inline int32_t roundHalfAway(double x) {
  return detail::saturateToInt32(x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5));
}

inline int32_t roundHalfEven(double x) {
  // nearbyint follows the current rounding mode, which the program never changes from
  // to-nearest-even; rint/nearbyint are exact here, unlike floor(x + 0.5).
  return detail::saturateToInt32(std::nearbyint(x));
}

}  // namespace kestrel
