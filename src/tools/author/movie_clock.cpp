#include "tools/author/movie_clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/author/author_error.h"
#include "tools/author/iso_time.h"

namespace kestrel::author {

namespace {

std::string seconds(double s) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f s", s);
  return buffer;
}

// Tolerance of the clock comparisons: a thousandth of a frame.
constexpr double kFrameEpsilon = 1e-3;

}  // namespace

MovieClock clockFromOffset(double trackStart, double offsetSeconds, double fps) {
  return {trackStart + offsetSeconds, 1.0 / fps};
}

MovieClock clockFromSync(const std::vector<SyncPoint>& pairs, double fps) {
  if (pairs.size() == 1) return {pairs[0].time - pairs[0].frame / fps, 1.0 / fps};
  double mf = 0, mt = 0;
  for (const SyncPoint& p : pairs) mf += p.frame, mt += p.time;
  mf /= static_cast<double>(pairs.size());
  mt /= static_cast<double>(pairs.size());
  double sff = 0, sft = 0;
  for (const SyncPoint& p : pairs) {
    sff += (p.frame - mf) * (p.frame - mf);
    sft += (p.frame - mf) * (p.time - mt);
  }
  if (sff == 0) throw AuthorError("the --sync pairs all name one frame: give two different frames, or one pair");
  const double perFrame = sft / sff;
  if (!(perFrame > 0) || std::fabs(perFrame * fps - 1) > 0.01) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer,
                  "the --sync pairs give %.3f frames a second, not the movie's %.3f: one of them is wrong",
                  perFrame > 0 ? 1 / perFrame : 0.0, fps);
    throw AuthorError(buffer);
  }
  return {mt - mf * perFrame, perFrame};
}

SyncPoint parseSyncPoint(const std::string& text, double trackStart) {
  const size_t eq = text.find('=');
  auto bad = [&] {
    return AuthorError("--sync " + text + ": give FRAME=TIME, TIME a date and time (2024-05-01T09:12:03Z) "
                       "or the seconds after the track's first point");
  };
  if (eq == std::string::npos || eq == 0) throw bad();
  char* end = nullptr;
  const std::string frameText = text.substr(0, eq), timeText = text.substr(eq + 1);
  const double frame = std::strtod(frameText.c_str(), &end);
  if (*end != '\0' || frame < 0 || !std::isfinite(frame)) throw bad();
  if (auto iso = parseIsoTime(timeText)) return {frame, *iso};
  const double after = std::strtod(timeText.c_str(), &end);
  if (timeText.empty() || *end != '\0' || !std::isfinite(after)) throw bad();
  return {frame, trackStart + after};
}

void requireCoverage(const MovieClock& clock, int64_t frames, double begin, double end, const std::string& source) {
  std::string missing;
  const double firstCovered = std::ceil(clock.frameAt(begin) - kFrameEpsilon);
  if (firstCovered > 0) {
    missing += source + " begins " + seconds(begin - clock.first) + " after the movie's first frame: frames 0 to " +
               std::to_string(static_cast<int64_t>(std::min<double>(firstCovered, static_cast<double>(frames)) - 1)) +
               " have no position";
  }
  const double lastCovered = std::floor(clock.frameAt(end) + kFrameEpsilon);
  if (lastCovered < static_cast<double>(frames - 1)) {
    if (!missing.empty()) missing += "; ";
    const auto from = static_cast<int64_t>(std::max(lastCovered + 1, 0.0));
    missing += source + " ends " + seconds(clock.timeOf(static_cast<double>(frames - 1)) - end) +
               " before the movie's last frame: frames " + std::to_string(from) + " to " +
               std::to_string(frames - 1) + " have no position";
  }
  if (!missing.empty()) throw AuthorError("the movie is not covered: " + missing);
}

}  // namespace kestrel::author
