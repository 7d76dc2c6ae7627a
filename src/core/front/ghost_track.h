#pragma once
// The track of a drive raced against (the ghost): where it was after each of its ticks, and from
// that, for the driver at a time and a place, the time difference at the same place and where the
// ghost stands on the remaining-distance display.
//
// The difference is the driver's time at the place less the ghost's time there, in seconds:
// negative while the driver is ahead (the ghost gets there later), positive behind. Between two
// ticks the ghost is taken to move evenly; where it stood still, any time of its stand counts as
// being there, so that a drive raced against itself differs by 0 throughout.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/state/drive_context.h"

namespace kestrel {

struct GhostSample {
  int64_t timeUs = 0;
  double distanceCm = 0;  // distanceRun
  int32_t frame = 0;      // MovieFrame
};

class GhostTrack {
 public:
  // Samples come in time order.
  void add(const GhostSample& sample);
  bool empty() const { return samples_.empty(); }
  int64_t lastTime() const { return samples_.empty() ? 0 : samples_.back().timeUs; }
  // The farthest distance the ghost has reached so far.
  double farthest() const { return farthest_; }

  // The ghost's last sample at or before `timeUs` (its first before any); nullopt while empty.
  std::optional<GhostSample> at(int64_t timeUs) const;
  // Seconds; nullopt when the ghost's track never passes `distanceCm`.
  std::optional<double> deltaAt(int64_t timeUs, double distanceCm) const;

 private:
  std::vector<GhostSample> samples_;
  double farthest_ = 0;
};

// "+3.2 s" (behind), "-3.2 s" (ahead), "0.0 s": one decimal, rounded half away from zero.
std::string ghostDeltaText(double seconds);

// Where the ghost stands on the remaining-distance bar ("img_unten_remain"): the height at which
// the bar's lower end would stand for the ghost's distance to the driver's stop target, on the
// bar's present scale, across the bar's width. Nothing while the bar is hidden or the ghost's
// place is off its scale.
struct GhostMark {
  double x = 0, y = 0;
  int width = 0;
};
std::optional<GhostMark> ghostMark(const DriveContext& ctx, double ghostDistanceCm);

}  // namespace kestrel
