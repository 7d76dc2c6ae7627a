#include "core/sim/gradient.h"

#include <cmath>

namespace kestrel::motion {

void updateHeadGradient(DriveContext& ctx) {
  TrainState& t = ctx.train;
  for (const SlopeRow& row : ctx.line.Slope)
    if (row.start < t.MovieFrame && t.MovieFrame < row.end) t.headGradient = row.gradient;
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
