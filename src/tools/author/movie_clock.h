#pragma once
// The movie's frames on the track's clock: frame f was filmed at first + f × perFrame. Given as
// the offset of frame 0 from the track's first point (--offset), or as frames whose time is known
// (--sync FRAME=TIME): one pair fixes the offset at the movie's own frame rate, more pairs also
// the rate (a camera whose clock runs a little off), by least squares.
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::author {

struct SyncPoint {
  double frame = 0;
  double time = 0;  // track clock, seconds since 1970 UTC
};

struct MovieClock {
  double first = 0;     // track time of frame 0
  double perFrame = 0;  // seconds
  double timeOf(double frame) const { return first + frame * perFrame; }
  double frameAt(double time) const { return (time - first) / perFrame; }
};

MovieClock clockFromOffset(double trackStart, double offsetSeconds, double fps);
// Throws AuthorError when the pairs do not fix a clock (all on one frame) or give a rate more than
// 1 % off `fps` (a pair is wrong).
MovieClock clockFromSync(const std::vector<SyncPoint>& pairs, double fps);

// "FRAME=TIME": TIME an ISO 8601 date and time, or seconds after the track's first point.
// Throws AuthorError naming the text.
SyncPoint parseSyncPoint(const std::string& text, double trackStart);

// Throws AuthorError when the span [begin, end] of the track's clock does not hold every frame
// 0 .. frames - 1, saying which frames have no position.
void requireCoverage(const MovieClock& clock, int64_t frames, double begin, double end, const std::string& source);

}  // namespace kestrel::author
