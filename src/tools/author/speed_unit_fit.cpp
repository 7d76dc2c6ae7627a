#include "tools/author/speed_unit_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "core/data/line_distances.h"

namespace kestrel::author {

namespace {

// The table's speed of a frame's distance: 1 km/h runs 1/1.08 cm a frame (30 frames a second).
constexpr double kCmPerFrameAt1Kmh = 1 / 1.08;
// Frames over which a speed is measured, either side: half a second smooths the target's ripple.
constexpr int64_t kSpeedWindow = 15;
// The first rows join where the speed bends by more than this (km/h); rows are split further
// wherever the distance leaves the tolerance.
constexpr double kFirstBendKmh = 4;
constexpr int kMaxRefinements = 64;
// A row whose speed bends less than this is split in the middle instead.
constexpr double kSplitBendKmh = 0.5;
// Rows are never split below a second of movie.
constexpr int64_t kShortestSplit = 60;
// Each knot's speed is also held near the target's own speed there, as if measured to within
// this (km/h): where rows are short the distances alone leave the speeds loose, and they would
// swing from knot to knot.
constexpr double kKnotSpeedSpreadKmh = 3;

double hundredths(double v) { return std::round(v * 100) / 100; }

std::vector<double> speedsOf(const std::vector<double>& d) {
  const auto last = static_cast<int64_t>(d.size()) - 1;
  std::vector<double> v(d.size());
  for (int64_t f = 0; f <= last; ++f) {
    const int64_t lo = std::max<int64_t>(0, f - kSpeedWindow), hi = std::min(last, f + kSpeedWindow);
    v[static_cast<size_t>(f)] =
        (d[static_cast<size_t>(hi)] - d[static_cast<size_t>(lo)]) / static_cast<double>(hi - lo) / kCmPerFrameAt1Kmh;
  }
  return v;
}

// The frame of (from, to) where the speed strays farthest from the straight line between its ends.
int64_t farthestBend(const std::vector<double>& v, int64_t from, int64_t to, double* stray = nullptr) {
  int64_t at = (from + to) / 2;
  double most = -1;
  const double v0 = v[static_cast<size_t>(from)], v1 = v[static_cast<size_t>(to)];
  for (int64_t f = from + 1; f < to; ++f) {
    const double line = v0 + (v1 - v0) * static_cast<double>(f - from) / static_cast<double>(to - from);
    const double d = std::fabs(v[static_cast<size_t>(f)] - line);
    if (d > most) most = d, at = f;
  }
  if (stray) *stray = most;
  return at;
}

// Knots where the speed bends by more than `bend` (Ramer-Douglas-Peucker).
std::vector<int64_t> bends(const std::vector<double>& v, double bend) {
  std::vector<int64_t> knots{0, static_cast<int64_t>(v.size()) - 1};
  std::vector<std::pair<int64_t, int64_t>> open{{knots[0], knots[1]}};
  while (!open.empty()) {
    const auto [from, to] = open.back();
    open.pop_back();
    if (to - from < 2) continue;
    double stray = 0;
    const int64_t at = farthestBend(v, from, to, &stray);
    if (stray <= bend) continue;
    knots.push_back(at);
    open.emplace_back(from, at);
    open.emplace_back(at, to);
  }
  std::sort(knots.begin(), knots.end());
  return knots;
}

// Solves m x = b (m square, dense) by Gaussian elimination with partial pivoting.
std::vector<double> solve(std::vector<std::vector<double>> m, std::vector<double> b) {
  const size_t n = b.size();
  for (size_t c = 0; c < n; ++c) {
    size_t pivot = c;
    for (size_t r = c + 1; r < n; ++r)
      if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
    std::swap(m[c], m[pivot]);
    std::swap(b[c], b[pivot]);
    if (m[c][c] == 0) continue;
    for (size_t r = c + 1; r < n; ++r) {
      const double k = m[r][c] / m[c][c];
      if (k == 0) continue;
      for (size_t j = c; j < n; ++j) m[r][j] -= k * m[c][j];
      b[r] -= k * b[c];
    }
  }
  std::vector<double> x(n, 0);
  for (size_t r = n; r-- > 0;) {
    double sum = b[r];
    for (size_t j = r + 1; j < n; ++j) sum -= m[r][j] * x[j];
    x[r] = m[r][r] != 0 ? sum / m[r][r] : 0;
  }
  return x;
}

// The knot speeds whose table comes closest to the target, in least squares weighted by the
// tolerance (the rule's distance is linear in them: a row's own part, and the lengths of the rows
// before it).
std::vector<double> knotSpeeds(const std::vector<int64_t>& knots, const std::vector<double>& d,
                               const std::vector<double>& speeds, const FitTolerance& tolerance) {
  const size_t n = knots.size();
  std::vector<std::vector<double>> m(n, std::vector<double>(n, 0));
  std::vector<double> b(n, 0), prefix(n, 0);  // prefix: the rows before, as coefficients
  for (size_t r = 0; r + 1 < n; ++r) {
    const int64_t s = knots[r];
    const double span = static_cast<double>(knots[r + 1] - s);
    double sw = 0, swa = 0, swb = 0, swaa = 0, swab = 0, swbb = 0, swd = 0, swad = 0, swbd = 0;
    for (int64_t j = 1; j <= knots[r + 1] - s; ++j) {
      const double target = d[static_cast<size_t>(s + j)];
      const double w = 1 / std::pow(tolerance.allowedCm(target), 2);
      const double k = static_cast<double>(j), u = k / span;
      const double a = k * (2 - u) / 2.16, c = k * u / 2.16;
      sw += w, swa += w * a, swb += w * c, swaa += w * a * a, swab += w * a * c, swbb += w * c * c;
      swd += w * target, swad += w * a * target, swbd += w * c * target;
    }
    for (size_t i = 0; i <= r; ++i) {
      for (size_t j = 0; j <= r; ++j) m[i][j] += sw * prefix[i] * prefix[j];
      m[i][r] += swa * prefix[i], m[r][i] += swa * prefix[i];
      m[i][r + 1] += swb * prefix[i], m[r + 1][i] += swb * prefix[i];
      b[i] += swd * prefix[i];
    }
    m[r][r] += swaa, m[r][r + 1] += swab, m[r + 1][r] += swab, m[r + 1][r + 1] += swbb;
    b[r] += swad, b[r + 1] += swbd;
    prefix[r] += span / 2.16, prefix[r + 1] += span / 2.16;
  }
  const double prior = 1 / (kKnotSpeedSpreadKmh * kKnotSpeedSpreadKmh);
  for (size_t k = 0; k < n; ++k) {
    m[k][k] += prior;
    b[k] += prior * speeds[static_cast<size_t>(knots[k])];
  }
  // A table has no negative speeds: knots the solution would run backwards are held at 0 and the
  // others solved again, so that the rows around a stand make up the distance instead (an active
  // set; each round holds at least one more knot).
  std::vector<bool> held(n, false);
  for (;;) {
    std::vector<std::vector<double>> mh = m;
    std::vector<double> bh = b;
    for (size_t k = 0; k < n; ++k) {
      if (!held[k]) continue;
      for (size_t j = 0; j < n; ++j) mh[k][j] = mh[j][k] = 0;
      mh[k][k] = 1, bh[k] = 0;
    }
    std::vector<double> x = solve(std::move(mh), std::move(bh));
    bool more = false;
    for (size_t k = 0; k < n; ++k)
      if (x[k] < 0) held[k] = more = true;
    if (!more) return x;
  }
}

std::vector<SpeedUnitRow> rowsOf(const std::vector<int64_t>& knots, const std::vector<double>& speeds) {
  std::vector<SpeedUnitRow> rows;
  for (size_t r = 0; r + 1 < knots.size(); ++r) {
    SpeedUnitRow row;
    row.start = static_cast<int32_t>(knots[r]);
    row.end = static_cast<int32_t>(knots[r + 1]);
    row.vStart = hundredths(std::max(0.0, speeds[r]));
    row.vEnd = hundredths(std::max(0.0, speeds[r + 1]));
    rows.push_back(row);
  }
  return rows;
}

// The steps of the fit over one target.
struct Fitter {
  Fitter(const std::vector<double>& target, const FitTolerance& tol)
      : d(target), tolerance(tol), speeds(speedsOf(target)) {}

  std::vector<SpeedUnitRow> rows(const std::vector<int64_t>& knots) const {
    return rowsOf(knots, knotSpeeds(knots, d, speeds, tolerance));
  }

  // Whether row r of the table leaves half the tolerance at any of its frames.
  bool off(const std::vector<int64_t>& knots, const std::vector<double>& table, size_t r) const {
    for (int64_t f = knots[r] + 1; f <= knots[r + 1]; ++f) {
      const double target = d[static_cast<size_t>(f)];
      if (std::fabs(table[static_cast<size_t>(f)] - target) > tolerance.allowedCm(target) / 2) return true;
    }
    return false;
  }

  bool holds(const std::vector<int64_t>& knots) const {
    const std::vector<double> table = speedUnitDistances(rows(knots));
    for (size_t r = 0; r + 1 < knots.size(); ++r)
      if (off(knots, table, r)) return false;
    return true;
  }

  // The frames at which rows that leave the tolerance are split: where their speed bends most.
  std::vector<int64_t> splits(const std::vector<int64_t>& knots) const {
    const std::vector<double> table = speedUnitDistances(rows(knots));
    std::vector<int64_t> more;
    for (size_t r = 0; r + 1 < knots.size(); ++r) {
      if (knots[r + 1] - knots[r] < kShortestSplit || !off(knots, table, r)) continue;
      double stray = 0;
      const int64_t at = farthestBend(speeds, knots[r], knots[r + 1], &stray);
      more.push_back(stray >= kSplitBendKmh ? at : (knots[r] + knots[r + 1]) / 2);
    }
    return more;
  }

  // One pass over the inner knots, the straightest first: each goes when the table holds without it.
  void merge(std::vector<int64_t>& knots) const {
    if (!holds(knots)) return;
    std::vector<std::pair<double, int64_t>> order;
    for (size_t k = 1; k + 1 < knots.size(); ++k) {
      const double line = speeds[static_cast<size_t>(knots[k - 1])] +
                          (speeds[static_cast<size_t>(knots[k + 1])] - speeds[static_cast<size_t>(knots[k - 1])]) *
                              static_cast<double>(knots[k] - knots[k - 1]) /
                              static_cast<double>(knots[k + 1] - knots[k - 1]);
      order.emplace_back(std::fabs(speeds[static_cast<size_t>(knots[k])] - line), knots[k]);
    }
    std::sort(order.begin(), order.end());
    for (const auto& [bend, frame] : order) {
      std::vector<int64_t> fewer;
      for (int64_t k : knots)
        if (k != frame) fewer.push_back(k);
      if (holds(fewer)) knots = std::move(fewer);
    }
  }

  const std::vector<double>& d;
  FitTolerance tolerance;
  std::vector<double> speeds;
};

}  // namespace

double FitTolerance::allowedCm(double distanceCm) const { return std::max(metres * 100, fraction * distanceCm); }

// As the line's distances are derived: a frame on the boundary of two rows takes the later row's.
std::vector<double> speedUnitDistances(const std::vector<SpeedUnitRow>& rows) {
  std::vector<double> out(rows.empty() ? 0 : static_cast<size_t>(rows.back().end) + 1, 0.0);
  double startCm = 0;
  for (const SpeedUnitRow& row : rows) {
    for (int32_t f = row.start; f <= row.end; ++f) out[static_cast<size_t>(f)] = speedUnitDistance(row, startCm, f);
    startCm += speedUnitRowLengthCm(row);
  }
  return out;
}

SpeedUnitFit fitSpeedUnit(const std::vector<double>& targetCm, const FitTolerance& tolerance) {
  const Fitter fitter(targetCm, tolerance);
  std::vector<int64_t> knots = bends(fitter.speeds, kFirstBendKmh);
  for (int round = 0; round < kMaxRefinements && knots.size() <= 2 * LineData::kSpeedUnitCapacity; ++round) {
    const std::vector<int64_t> more = fitter.splits(knots);
    if (more.empty()) break;
    knots.insert(knots.end(), more.begin(), more.end());
    std::sort(knots.begin(), knots.end());
  }
  fitter.merge(knots);

  SpeedUnitFit fit;
  fit.rows = fitter.rows(knots);
  const std::vector<double> table = speedUnitDistances(fit.rows);
  double worstShare = -1;
  for (size_t f = 0; f < table.size() && f < targetCm.size(); ++f) {
    const double diff = std::fabs(table[f] - targetCm[f]), allowed = tolerance.allowedCm(targetCm[f]);
    if (diff / allowed <= worstShare) continue;
    worstShare = diff / allowed;
    fit.worstCm = diff;
    fit.worstFrame = static_cast<int64_t>(f);
    fit.worstAllowedCm = allowed;
  }
  return fit;
}

}  // namespace kestrel::author
