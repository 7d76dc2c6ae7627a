#include "tools/author/author_commands.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/data/line_data.h"
#include "tools/author/author_error.h"
#include "tools/author/gpx_track.h"
#include "tools/author/mark_profile.h"
#include "tools/author/movie_clock.h"
#include "tools/author/movie_facts.h"
#include "tools/author/route_movie.h"
#include "tools/author/track_distance.h"

namespace kestrel::author {

namespace {

// A movie standing still this long is worth a note: a drive passes such frames at once.
constexpr double kStandstillNoteS = 5;
// A place farther than this from the track is probably mistyped.
constexpr double kFarFromTrackM = 50;

std::string format(const char* pattern, auto... values) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, pattern, values...);
  return buffer;
}

struct Movie {
  double fps = 0;
  std::optional<int64_t> frames;
};

Movie movieOf(const AuthorOptions& o) {
  Movie m;
  const std::filesystem::path path = !o.line.empty() ? routeMovieOf(o.data, o.line) : o.movie;
  if (!path.empty()) {
    const MovieFacts facts = readMovieFacts(path);
    m.fps = facts.fps;
    m.frames = facts.frames;
  }
  if (o.fps) m.fps = *o.fps;
  if (o.frames) m.frames = *o.frames;
  return m;
}

MovieClock clockOf(const AuthorOptions& o, const std::vector<TrackPoint>& points, double fps) {
  if (o.offset) return clockFromOffset(points.front().time, *o.offset, fps);
  std::vector<SyncPoint> pairs;
  for (const std::string& s : o.sync) pairs.push_back(parseSyncPoint(s, points.front().time));
  return clockFromSync(pairs, fps);
}

std::vector<double> trackTargetCm(const AuthorOptions& o, double fps, int64_t frames) {
  const std::vector<TrackPoint> points = readGpx(o.gpx);
  const TrackDistance track(points);
  const MovieClock clock = clockOf(o, points, fps);
  requireCoverage(clock, frames, track.begin(), track.end(), "the track");
  std::vector<double> target(static_cast<size_t>(frames));
  const double origin = track.metresAt(clock.timeOf(0));
  for (int64_t f = 0; f < frames; ++f)
    target[static_cast<size_t>(f)] = (track.metresAt(clock.timeOf(static_cast<double>(f))) - origin) * 100;
  return target;
}

void noteStandstills(const std::vector<double>& targetCm, double fps, std::ostream& err) {
  const auto still = static_cast<size_t>(std::ceil(kStandstillNoteS * fps));
  size_t from = 0;
  for (size_t f = 1; f <= targetCm.size(); ++f) {
    // A run of frames in which the camera moved less than a centimetre a frame.
    if (f < targetCm.size() && targetCm[f] - targetCm[f - 1] < 1) continue;
    if (f - from >= still)
      err << format("kestrel-author: the camera stands still at frames %zu to %zu (%.1f s): a drive passes them "
                    "at once; cut them from the movie unless the line starts or ends there\n",
                    from, f - 1, static_cast<double>(f - from) / fps);
    from = f;
  }
}

}  // namespace

void runSpeedUnit(const AuthorOptions& o, std::ostream& out, std::ostream& err) {
  const Movie movie = movieOf(o);
  const int64_t frames = *movie.frames;
  if (frames < 2) throw AuthorError("the movie has fewer than two frames");
  std::vector<double> target =
      o.gpx.empty() ? markDistancesCm(readMarks(o.marks), frames, o.marks.string()) : trackTargetCm(o, movie.fps, frames);
  // A row's end is the first frame after it: the last row ends at the frame count, one frame on
  // at the speed of the last.
  target.push_back(2 * target[target.size() - 1] - target[target.size() - 2]);

  const SpeedUnitFit fit = fitSpeedUnit(target, o.tolerance);
  if (fit.rows.size() > LineData::kSpeedUnitCapacity)
    throw AuthorError(format("the table needs %zu rows, more than a line file holds (%zu): allow a larger "
                             "--tolerance, or split the line",
                             fit.rows.size(), LineData::kSpeedUnitCapacity));
  if (fit.worstCm > fit.worstAllowedCm)
    throw AuthorError(format("the table misses the track by %.2f m at frame %lld, more than the %.2f m allowed",
                             fit.worstCm / 100, static_cast<long long>(fit.worstFrame), fit.worstAllowedCm / 100));

  std::ostringstream table;
  table << "[SpeedUnit]\n";
  for (const SpeedUnitRow& r : fit.rows) table << format("%d,%d,%.2f,%.2f\n", r.start, r.end, r.vStart, r.vEnd);
  table << "#\n";
  if (o.out.empty()) {
    out << table.str();
  } else {
    std::ofstream file(o.out, std::ios::binary);
    if (!(file << table.str()) || !file.flush()) throw AuthorError(o.out.string() + ": cannot be written");
  }
  err << format("kestrel-author: %zu rows for frames 0 to %lld (%.1f s at %.3f frames a second, %.1f m); the "
                "largest difference from the %s is %.2f m at frame %lld (%.2f m allowed there)\n",
                fit.rows.size(), static_cast<long long>(frames - 1), static_cast<double>(frames - 1) / movie.fps,
                movie.fps, target[target.size() - 2] / 100, o.gpx.empty() ? "marks" : "track", fit.worstCm / 100,
                static_cast<long long>(fit.worstFrame), fit.worstAllowedCm / 100);
  noteStandstills(target, movie.fps, err);
}

void runLocate(const AuthorOptions& o, std::ostream& out) {
  const Movie movie = movieOf(o);
  const std::vector<TrackPoint> points = readGpx(o.gpx);
  const TrackDistance track(points);
  const MovieClock clock = clockOf(o, points, movie.fps);
  for (const auto& [lat, lon] : o.places) {
    const TrackDistance::Nearest n = track.nearest(lat, lon);
    const double time = track.timeReaching(n.along);
    const auto frame = static_cast<long long>(std::llround(clock.frameAt(time)));
    out << format("%.6f,%.6f: frame %lld (%.2f s), %.1f m along the track, %.1f m from it", lat, lon, frame,
                  time - clock.first, n.along, n.offset);
    if (frame < 0) out << "; before the movie's first frame";
    if (movie.frames && frame >= *movie.frames)
      out << format("; after the movie's last frame (%lld)", static_cast<long long>(*movie.frames - 1));
    if (n.offset > kFarFromTrackM) out << "; far from the track: is the place right?";
    out << "\n";
  }
}

}  // namespace kestrel::author
