#include "core/present/frame_selection.h"

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

}  // namespace kestrel
