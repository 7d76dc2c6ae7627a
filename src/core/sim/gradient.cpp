#include "core/sim/gradient.h"

#include <cmath>

namespace kestrel::motion {

SlopePlace slopePlace(const LineData& line, int32_t frame) {
  const auto& rows = line.Slope;
  SlopePlace place;
  for (size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].start < frame && frame < rows[r].end) place = {static_cast<int32_t>(r), false};
    if (r + 1 < rows.size() && rows[r].end < frame && frame < rows[r + 1].start) place = {-1, true};
  }
  if (!rows.empty() && rows.back().end < frame) place = {-1, true};
  return place;
}

void updateHeadGradient(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const SlopePlace place = slopePlace(ctx.line, t.MovieFrame);
  if (place.row >= 0)
    t.headGradient = ctx.line.Slope[static_cast<size_t>(place.row)].gradient;
  else if (place.level)
    t.headGradient = Fixed();
}

void sampleGradient(DriveContext& ctx) {
  TrainState& t = ctx.train;
  updateHeadGradient(ctx);
  if (std::fabs(t.distanceRun - t.gradientSampleAt) <= 2000) return;
  t.gradientSampleAt = t.distanceRun;
  auto& samples = t.gradientSamples;
  if (samples.empty()) return;  // sized at setup: one per car, at least one
  for (size_t i = samples.size() - 1; i >= 1; --i) samples[i] = samples[i - 1];
  samples[0] = static_cast<int32_t>(std::trunc(t.headGradient.toDouble()));
  double sum = 0;
  for (int32_t s : samples) sum += s;
  t.gradient = Fixed::fromDouble(sum / static_cast<double>(samples.size()));
}

}  // namespace kestrel::motion
