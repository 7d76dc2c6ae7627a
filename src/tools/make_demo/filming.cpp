#include "tools/make_demo/filming.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/util/rounding.h"

namespace kestrel::demo {

namespace {

struct Constraint {
  double fromM, toM, kmh;
};

// Speed envelope of the filming train: the cruising speed, capped by braking curves towards and
// acceleration curves away from every slow stretch (stations, limits, the buffer stop).
double envelopeKmh(const Route& r, const std::vector<Constraint>& cs, double m) {
  double v = r.cruiseKmh;
  const double dec = r.decel / 3.6, acc = r.accel / 3.6;  // m/s per s
  for (const auto& c : cs) {
    const double vc = c.kmh / 3.6;
    double lim;
    if (m < c.fromM)
      lim = std::sqrt(vc * vc + 2.0 * dec * (c.fromM - m));
    else if (m <= c.toM)
      lim = vc;
    else
      lim = std::sqrt(vc * vc + 2.0 * acc * (m - c.toM));
    v = std::min(v, lim * 3.6);
  }
  return v;
}

double round2(double v) { return std::round(v * 100.0) / 100.0; }

}  // namespace

Filming::Filming(const Route& r) {
  std::vector<Constraint> cs;
  for (size_t i = 0; i < r.stations.size(); ++i) {
    const double stop = r.stations[i].stopM;
    if (i + 1 == r.stations.size())
      cs.push_back({stop - 8.0, r.movieEndM + 100.0, r.terminalKmh});
    else
      cs.push_back({stop - 8.0, stop + 2.0, r.passKmh});
  }
  if (r.filmingObeysLimits)
    for (const auto& l : r.limits) cs.push_back({l.startM, l.endM, l.kmh - 5.0});

  // Frame by frame: the speed of each frame is the envelope at its distance.
  std::vector<double> speeds;
  double m = 0;
  while (m < r.movieEndM) {
    const double v = std::max(5.0, envelopeKmh(r, cs, m));
    speeds.push_back(v);
    m += v / 3.6 / 30.0;
  }
  speeds.push_back(std::max(5.0, envelopeKmh(r, cs, m)));
  frameCount_ = static_cast<int>(speeds.size());

  // One row per phase (accelerating, steady, braking): within a phase the speed is linear in
  // time, which is what a row describes.
  auto phase = [&](size_t f) {
    const double d = speeds[f + 1] - speeds[f];
    return d > 1e-6 ? 1 : (d < -1e-6 ? -1 : 0);
  };
  size_t start = 0;
  for (size_t f = 0; f + 1 < speeds.size(); ++f) {
    const bool last = f + 2 == speeds.size();
    if (last || phase(f + 1) != phase(start)) {
      const size_t end = f + 1;
      rows_.push_back({static_cast<int>(start), static_cast<int>(end), round2(speeds[start]), round2(speeds[end])});
      start = end;
    }
  }
  rows_.back().end = frameCount_;
  if (rows_.size() > 100) throw std::runtime_error("the filming run needs more than 100 [SpeedUnit] rows");

  frameCm_.resize(static_cast<size_t>(frameCount_));
  for (int f = 0; f < frameCount_; ++f) frameCm_[static_cast<size_t>(f)] = speedUnitDistanceCm(rows_, f);
}

double speedUnitDistanceCm(const std::vector<SpeedUnitRow>& rows, int frame) {
  double before = 0;
  for (const auto& row : rows) {
    if (frame <= row.end) {
      const double k = frame - row.start;
      return before + roundHalfAway(((row.vEnd - row.vStart) / (row.end - row.start) * k + 2.0 * row.vStart) / 7.2 *
                                    (k / 30.0) * 100.0);
    }
    before += roundHalfAway((row.vStart + row.vEnd) * (row.end - row.start) / 2.16);
  }
  return before;
}

double Filming::distanceCm(int frame) const {
  return frameCm_[static_cast<size_t>(std::clamp(frame, 0, frameCount_ - 1))];
}

int Filming::frameAt(double metres) const {
  const double cm = metres * 100.0;
  auto it = std::lower_bound(frameCm_.begin(), frameCm_.end(), cm);
  if (it == frameCm_.end()) return frameCount_ - 1;
  int f = static_cast<int>(it - frameCm_.begin());
  if (f > 0 && cm - frameCm_[static_cast<size_t>(f - 1)] < *it - cm) --f;
  return f;
}

double Filming::speedAt(int frame) const {
  for (const auto& row : rows_)
    if (frame >= row.start && frame < row.end)
      return row.vStart + (row.vEnd - row.vStart) / (row.end - row.start) * (frame - row.start);
  return rows_.back().vEnd;
}

}  // namespace kestrel::demo
