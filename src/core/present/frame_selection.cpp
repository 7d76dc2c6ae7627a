#include "core/present/frame_selection.h"

#include <algorithm>
#include <cmath>

#include "core/util/rounding.h"

namespace kestrel {

bool holdsStopFrame(const TrainState& t, const LineData& line) {
  if (line.MovieStop.empty()) return false;  // a line without an end holds nothing
  const int64_t end = line.MovieStop[0];
  const int64_t f = t.MovieFrame;
  if (t.MovieMode <= 0 && t.MovieDirection == 0 && t.speed > 0 && end < f && f < end + 500) return true;
  return t.MovieMode == 0 && t.MovieDirection == 1 && t.speed < 0 && end - 500 < f && f < end;
}

std::optional<int32_t> frameToDecode(const TrainState& t) {
  if (t.MovieMode > 2 || t.MovieFrame < 0) return std::nullopt;
  if (t.MovieMode <= 0) {
    if (t.MovieFrame > t.movie.movieLastFrame || t.MovieFrame == t.LastShownFrame) return std::nullopt;
    return t.MovieFrame;
  }
  if (t.SubFrame == t.LastShownFrame) return std::nullopt;
  return t.SubFrame;
}

MovieTravel movieTravel(const TrainState& t, const LineData& line) {
  // The 33 ms event: frames per event are the rounded speed over the filming speed (twice the
  // rounded speed where a row films at 0).
  constexpr double kEventsPerSecond = 1000.0 / 33.0;
  if (t.MovieMode == 1) return {1, static_cast<double>(std::max(line.FrameRate, 0))};
  if (t.MovieMode > 2) return {};
  const double units = std::abs(static_cast<double>(roundHalfAway(t.speed)));
  if (units == 0) return {};
  const double perEvent = t.UnitsPerFrame > 0 ? units / t.UnitsPerFrame : 2 * units;
  return {t.speed > 0 ? 1 : -1, perEvent * kEventsPerSecond};
}

}  // namespace kestrel
