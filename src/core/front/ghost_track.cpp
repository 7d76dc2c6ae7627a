#include "core/front/ghost_track.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/util/rounding.h"

namespace kestrel {

void GhostTrack::add(const GhostSample& sample) {
  farthest_ = samples_.empty() ? sample.distanceCm : std::max(farthest_, sample.distanceCm);
  samples_.push_back(sample);
}

std::optional<GhostSample> GhostTrack::at(int64_t timeUs) const {
  if (samples_.empty()) return std::nullopt;
  auto it = std::upper_bound(samples_.begin(), samples_.end(), timeUs,
                             [](int64_t t, const GhostSample& s) { return t < s.timeUs; });
  return it == samples_.begin() ? samples_.front() : *(it - 1);
}

namespace {

// The times within segment [a, b] at which the ghost was at `d`: one time where it crossed, the
// whole segment where it stood there.
struct Span {
  double from, to;
};
std::optional<Span> timesAt(const GhostSample& a, const GhostSample& b, double d) {
  const auto ta = static_cast<double>(a.timeUs), tb = static_cast<double>(b.timeUs);
  if (a.distanceCm == b.distanceCm) return a.distanceCm == d ? std::optional<Span>({ta, tb}) : std::nullopt;
  if (d < std::min(a.distanceCm, b.distanceCm) || d > std::max(a.distanceCm, b.distanceCm)) return std::nullopt;
  if (d == a.distanceCm) return Span{ta, ta};
  if (d == b.distanceCm) return Span{tb, tb};
  const double t = ta + (d - a.distanceCm) / (b.distanceCm - a.distanceCm) * (tb - ta);
  return Span{t, t};
}

}  // namespace

std::optional<double> GhostTrack::deltaAt(int64_t timeUs, double distanceCm) const {
  const auto t = static_cast<double>(timeUs);
  // The nearest time at which the ghost was at the place: the segments are searched outwards from
  // the one the time falls in, and the first found on each side is the nearest on that side.
  std::optional<double> best;
  const auto consider = [&](size_t i) {
    const auto span = timesAt(samples_[i], samples_[i + 1], distanceCm);
    if (!span) return false;
    const double nearest = std::clamp(t, span->from, span->to);
    if (!best || std::fabs(t - nearest) < std::fabs(*best)) best = t - nearest;
    return true;
  };
  if (samples_.empty()) return std::nullopt;
  if (samples_.size() == 1) {
    if (samples_[0].distanceCm != distanceCm) return std::nullopt;
    return t - static_cast<double>(samples_[0].timeUs);
  }
  const size_t segments = samples_.size() - 1;
  auto it = std::upper_bound(samples_.begin(), samples_.end(), timeUs,
                             [](int64_t v, const GhostSample& s) { return v < s.timeUs; });
  const size_t k = std::min<size_t>(it == samples_.begin() ? 0 : static_cast<size_t>(it - samples_.begin()) - 1,
                                    segments - 1);
  consider(k);
  for (size_t i = k; i-- > 0;)
    if (consider(i)) break;
  for (size_t i = k + 1; i < segments; ++i)
    if (consider(i)) break;
  if (!best) return std::nullopt;
  return *best / 1e6;
}

std::string ghostDeltaText(double seconds) {
  const int32_t tenths = roundHalfAway(seconds * 10);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%d.%d s", tenths > 0 ? "+" : tenths < 0 ? "-" : "", std::abs(tenths) / 10,
                std::abs(tenths) % 10);
  return buf;
}

std::optional<GhostMark> ghostMark(const DriveContext& ctx, double ghostDistanceCm) {
  const Sprite* bar = ctx.sprites.find("img_unten_remain");
  if (!bar || !bar->visible) return std::nullopt;
  const double H = ctx.settings.Disp.MovieHeight;
  const double d = ctx.train.distanceToStop;
  const double ghost = d - (ghostDistanceCm - ctx.train.distanceRun);
  // The bar's scale now (ten times finer over the last 20 m), and where its lower end would stand.
  const double scale = d >= 2000 ? H / 20000 : H / 2000;
  const double y = H - roundHalfEven(scale * ghost) - 2 * H + bar->height;
  if (y < 0 || y > H) return std::nullopt;
  return GhostMark{bar->x, y, bar->width};
}

}  // namespace kestrel
