#include "tools/author/track_distance.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/LocalCartesian.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "tools/author/along_track_smoother.h"

namespace kestrel::author {

namespace {

// The points' order along the line: averaged over a few seconds.
constexpr double kRoughSmoothingS = 3;
// The path's shape: smoothed over some 50 m of line either side (local quadratic regression,
// which keeps a curve's radius), with anchors every 10 m. Chords of 10 m on a 300 m curve are
// 0.005 % short of the arc.
constexpr double kPathSmoothingM = 50;
constexpr double kAnchorSpacingM = 10;
// The distance itself: a Kalman smoother whose jerk noise lets a train start and stop braking
// within a second or two; the fixes' scatter is measured as their spread across the path, never
// taken below a few decimetres.
constexpr double kJerk = 0.1;
constexpr double kLeastScatterM = 0.3;
// Segments looked at ahead of the last point's, before the whole path is searched.
constexpr size_t kSegmentsAhead = 50;
constexpr double kLostM = 50;

// Calls f(j) for the points within 3 sigma of each point i, as f(i, j).
template <class F>
void eachNeighbour(const std::vector<double>& t, double sigma, F f) {
  size_t lo = 0, hi = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    while (t[i] - t[lo] > 3 * sigma) ++lo;
    while (hi < t.size() && t[hi] - t[i] <= 3 * sigma) ++hi;
    for (size_t j = lo; j < hi; ++j) f(i, j);
  }
}

std::vector<double> gaussianMean(const std::vector<double>& t, const std::vector<double>& v, double sigma) {
  std::vector<double> sum(v.size(), 0), weight(v.size(), 0);
  eachNeighbour(t, sigma, [&](size_t i, size_t j) {
    const double z = (t[j] - t[i]) / sigma, w = std::exp(-0.5 * z * z);
    sum[i] += w * v[j];
    weight[i] += w;
  });
  for (size_t i = 0; i < v.size(); ++i) sum[i] /= weight[i];
  return sum;
}

// The value at each of `at` of a quadratic fitted, with Gaussian weights, to the values `v` at
// the sorted positions `t` within 3 sigma.
std::vector<double> localQuadraticAt(const std::vector<double>& t, const std::vector<double>& v,
                                     const std::vector<double>& at, double sigma) {
  std::vector<double> out(at.size());
  size_t lo = 0, hi = 0;
  for (size_t i = 0; i < at.size(); ++i) {
    while (lo < t.size() && at[i] - t[lo] > 3 * sigma) ++lo;
    while (hi < t.size() && t[hi] - at[i] <= 3 * sigma) ++hi;
    std::array<double, 5> a{};
    std::array<double, 3> b{};
    for (size_t j = lo; j < hi; ++j) {
      const double z = (t[j] - at[i]) / sigma, w = std::exp(-0.5 * z * z);
      double p = w;
      for (size_t k = 0; k < 5; ++k, p *= z) {
        a[k] += p;
        if (k < 3) b[k] += p * v[j];
      }
    }
    if (a[0] == 0) {  // nothing near: the nearest value
      const size_t j = std::min(lo, t.size() - 1);
      out[i] = v[j];
      continue;
    }
    // Normal equations [a0 a1 a2; a1 a2 a3; a2 a3 a4] c = b, solved for c0 by Cramer's rule.
    const double det = a[0] * (a[2] * a[4] - a[3] * a[3]) - a[1] * (a[1] * a[4] - a[3] * a[2]) +
                       a[2] * (a[1] * a[3] - a[2] * a[2]);
    if (std::fabs(det) < 1e-9 * a[0] * a[0] * a[0]) {
      out[i] = b[0] / a[0];  // too few neighbours for a curve: their mean
      continue;
    }
    out[i] = (b[0] * (a[2] * a[4] - a[3] * a[3]) - a[1] * (b[1] * a[4] - a[3] * b[2]) +
              a[2] * (b[1] * a[3] - a[2] * b[2])) /
             det;
  }
  return out;
}

// The closest non-decreasing sequence in least squares (pool adjacent violators).
void makeNonDecreasing(std::vector<double>& v) {
  std::vector<double> mean;
  std::vector<size_t> count;
  for (double x : v) {
    mean.push_back(x);
    count.push_back(1);
    while (mean.size() > 1 && mean[mean.size() - 2] > mean.back()) {
      const size_t c = count.back() + count[count.size() - 2];
      const double m = (mean.back() * static_cast<double>(count.back()) +
                        mean[mean.size() - 2] * static_cast<double>(count[count.size() - 2])) /
                       static_cast<double>(c);
      mean.pop_back(), count.pop_back();
      mean.back() = m, count.back() = c;
    }
  }
  size_t at = 0;
  for (size_t b = 0; b < mean.size(); ++b)
    for (size_t k = 0; k < count[b]; ++k) v[at++] = mean[b];
}

}  // namespace

TrackDistance::TrackDistance(const std::vector<TrackPoint>& points) : lat0_(points.front().lat), lon0_(points.front().lon) {
  const GeographicLib::LocalCartesian plane(lat0_, lon0_, 0);
  const GeographicLib::Geodesic& earth = GeographicLib::Geodesic::WGS84();
  std::vector<double> x(points.size()), y(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    double z;
    plane.Forward(points[i].lat, points[i].lon, 0, x[i], y[i], z);
    times_.push_back(points[i].time);
  }

  // A rough distance along the track from points averaged over a few seconds: it orders the
  // points along the line (it cuts corners and creeps while the train stands, so it is no
  // distance yet).
  const std::vector<double> sx = gaussianMean(times_, x, kRoughSmoothingS);
  const std::vector<double> sy = gaussianMean(times_, y, kRoughSmoothingS);
  std::vector<double> rough(points.size(), 0);
  for (size_t i = 1; i < points.size(); ++i) rough[i] = rough[i - 1] + std::hypot(sx[i] - sx[i - 1], sy[i] - sy[i - 1]);

  // The path: the raw points' places smoothed along that rough distance by local quadratic
  // regression (which follows a curve without cutting it), an anchor every few metres, and the
  // geodesic distances between anchors.
  const std::vector<double> grid = [&] {
    std::vector<double> g;
    for (double at = 0; at < rough.back(); at += kAnchorSpacingM) g.push_back(at);
    g.push_back(rough.back());
    return g;
  }();
  const std::vector<double> px = localQuadraticAt(rough, x, grid, kPathSmoothingM);
  const std::vector<double> py = localQuadraticAt(rough, y, grid, kPathSmoothingM);
  std::pair<double, double> previous;
  for (size_t k = 0; k < grid.size(); ++k) {
    double lat, lon, h;
    plane.Reverse(px[k], py[k], 0, lat, lon, h);
    double metres = 0;
    if (k > 0) {
      earth.Inverse(previous.first, previous.second, lat, lon, metres);
      metres += path_.back().metres;
    }
    path_.push_back({px[k], py[k], metres});
    previous = {lat, lon};
  }

  // Every raw point on the path, smoothed, never backwards.
  size_t segment = 0;
  double offsets = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const Nearest n = project(x[i], y[i], segment);
    metres_.push_back(n.along);
    offsets += n.offset * n.offset;
  }
  const double scatter = std::max(kLeastScatterM, std::sqrt(offsets / static_cast<double>(points.size())));
  metres_ = smoothAlongTrack(times_, metres_, scatter, kJerk);
  makeNonDecreasing(metres_);
  // The track's first point is where the distance counts from.
  origin_ = metres_.front();
  for (double& m : metres_) m = std::max(0.0, m - origin_);
}

// The path runs on straight beyond its ends, so that points scattered behind the first anchor
// (or past the last) count as far behind as they are, not as standing on it.
TrackDistance::Nearest TrackDistance::foot(size_t j, double x, double y) const {
  const Anchor& a = path_[j];
  const Anchor& b = path_[j + 1];
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  const double lo = j == 0 ? -std::numeric_limits<double>::infinity() : 0.0;
  const double hi = j + 2 == path_.size() ? std::numeric_limits<double>::infinity() : 1.0;
  const double u = len2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, lo, hi) : 0.0;
  return {a.metres + u * (b.metres - a.metres), std::hypot(x - (a.x + u * dx), y - (a.y + u * dy))};
}

TrackDistance::Nearest TrackDistance::nearestOn(size_t from, size_t to, double x, double y, size_t* segment) const {
  Nearest best{0, std::numeric_limits<double>::infinity()};
  for (size_t j = from; j < to; ++j) {
    const Nearest n = foot(j, x, y);
    if (n.offset >= best.offset) continue;
    best = n;
    if (segment) *segment = j;
  }
  return best;
}

TrackDistance::Nearest TrackDistance::project(double x, double y, size_t& segment) const {
  if (path_.size() < 2) return {0, std::hypot(x - path_[0].x, y - path_[0].y)};
  const size_t segments = path_.size() - 1;
  const size_t previous = segment;
  Nearest n = nearestOn(previous > 3 ? previous - 3 : 0, std::min(segments, previous + kSegmentsAhead), x, y, &segment);
  if (n.offset > kLostM) n = nearestOn(0, segments, x, y, &segment);  // after a gap in the track: anywhere
  return n;
}

double TrackDistance::metresAt(double time) const {
  if (time <= times_.front()) return metres_.front();
  if (time >= times_.back()) return metres_.back();
  const size_t i = static_cast<size_t>(std::upper_bound(times_.begin(), times_.end(), time) - times_.begin());
  const double u = (time - times_[i - 1]) / (times_[i] - times_[i - 1]);
  return metres_[i - 1] + u * (metres_[i] - metres_[i - 1]);
}

double TrackDistance::timeReaching(double metres) const {
  if (metres <= metres_.front()) return times_.front();
  const auto it = std::lower_bound(metres_.begin(), metres_.end(), metres);
  if (it == metres_.end()) return times_.back();
  const size_t i = static_cast<size_t>(it - metres_.begin());
  const double span = metres_[i] - metres_[i - 1];
  return times_[i - 1] + (span > 0 ? (metres - metres_[i - 1]) / span : 0) * (times_[i] - times_[i - 1]);
}

TrackDistance::Nearest TrackDistance::nearest(double lat, double lon) const {
  const GeographicLib::LocalCartesian plane(lat0_, lon0_, 0);
  double x, y, z;
  plane.Forward(lat, lon, 0, x, y, z);
  if (path_.size() < 2) return {0, std::hypot(x - path_[0].x, y - path_[0].y)};
  Nearest n = nearestOn(0, path_.size() - 1, x, y, nullptr);
  n.along = std::max(0.0, n.along - origin_);
  return n;
}

}  // namespace kestrel::author
