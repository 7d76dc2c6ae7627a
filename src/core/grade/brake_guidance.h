#pragma once
// Brake guidance (coaching): for the next stop, how far the train would run before it stands at
// the brake step the driver holds and at each service step, against the distance left to the stop
// target, so that the driver sees which step stops at the mark.
//
// Each distance is found by running the drive's own brake and motion rules forward on a copy of
// the drive's state with the power off and the handle at that step, the gradient as it is now. The
// drive itself is never touched.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/state/drive_context.h"

namespace kestrel::grade {

struct StepStop {
  int32_t step = 0;                  // 1 .. nB - 1 service steps, nB emergency
  std::optional<double> stopCm;      // distance to the stand; none: not within the range looked at
};

struct BrakeGuidance {
  int32_t station = 0;        // the next stop
  double remainingCm = 0;     // to its stop target
  int32_t currentStep = 0;    // -brakeHandle; 0 released
  std::optional<double> currentStopCm;  // at the step held; none while released or not stopping in range
  std::vector<StepStop> steps;          // the service steps, 1 first
};

// How far ahead of the stop the guidance begins, and how far past the target a step is followed.
inline constexpr double kGuidanceRangeCm = 150000;
inline constexpr double kGuidanceOverrunCm = 20000;

// When the drive's 33 ms event and tick are due next, from now (the scheduler's nextDue - now).
struct ClockPhase {
  int64_t toEventUs = 33000;
  int64_t toTickUs = 100000;
};

// The guidance now; nullopt while there is nothing to guide: standing or rolling back, the stop
// target behind the train or further than kGuidanceRangeCm.
std::optional<BrakeGuidance> brakeGuidance(const DriveContext& ctx, ClockPhase phase = {});

// The distance the train runs from now until it stands with the brake handle at `handle` (0 ..
// -nB) and the power off; nullopt when it runs further than `maxCm` or longer than three minutes.
std::optional<double> stoppingDistance(const DriveContext& ctx, int32_t handle, double maxCm, ClockPhase phase = {});

}  // namespace kestrel::grade
