#pragma once
// The table of points: every kind of grading event, when it is given and what it costs. The score
// of a drive is 100 plus the points of its events, held within 0 to 100. The README shows this
// table to the drivers; change both together.
#include <algorithm>
#include <cstdint>
#include <string_view>

namespace kestrel::grade {

// Stable names of the event kinds: the report's "kind", the debrief's and the CSV's.
namespace kind {
inline constexpr std::string_view kStopExcellent = "stop-excellent";
inline constexpr std::string_view kStopGood = "stop-good";
inline constexpr std::string_view kStopAcceptable = "stop-acceptable";
inline constexpr std::string_view kStopOutside = "stop-outside";
inline constexpr std::string_view kStopPassed = "stop-passed";
inline constexpr std::string_view kArrivalLate = "arrival-late";
inline constexpr std::string_view kDepartureEarly = "departure-early";
inline constexpr std::string_view kDepartureLate = "departure-late";
inline constexpr std::string_view kOverspeed = "overspeed";
inline constexpr std::string_view kSignalAtStop = "signal-passed-at-stop";
inline constexpr std::string_view kAtsWarning = "ats-warning";
inline constexpr std::string_view kAtsPatternBrake = "ats-pattern-brake";
inline constexpr std::string_view kAtsEmergency = "ats-emergency";
inline constexpr std::string_view kEmergencyBrake = "emergency-brake";
inline constexpr std::string_view kVigilanceBrake = "vigilance-brake";
inline constexpr std::string_view kComfortDeceleration = "comfort-deceleration";
inline constexpr std::string_view kComfortJerk = "comfort-jerk";
inline constexpr std::string_view kBrakeReversal = "brake-reversal";
inline constexpr std::string_view kJump = "jump";
inline constexpr std::string_view kRestore = "restore";
inline constexpr std::string_view kExamVoid = "exam-void";
}  // namespace kind

namespace points {
inline constexpr int32_t kStopExcellent = 0;
inline constexpr int32_t kStopGood = -2;
inline constexpr int32_t kStopAcceptable = -5;
inline constexpr int32_t kStopOutside = -10;
inline constexpr int32_t kStopPassed = -20;
inline constexpr int32_t kDepartureEarly = -10;
inline constexpr int32_t kSignalAtStop = -30;
inline constexpr int32_t kAtsWarning = -2;
inline constexpr int32_t kAtsPatternBrake = -10;
inline constexpr int32_t kAtsEmergency = -20;
inline constexpr int32_t kEmergencyBrake = -5;
inline constexpr int32_t kVigilanceBrake = -10;
inline constexpr int32_t kComfortDeceleration = -2;
inline constexpr int32_t kComfortJerk = -2;
inline constexpr int32_t kBrakeReversal = -1;  // each, at most kBrakeReversalCap per stop
inline constexpr int32_t kBrakeReversalCap = -3;
inline constexpr int32_t kLatenessCap = -10;
inline constexpr int32_t kOverspeedCap = -20;
}  // namespace points

// Where the bands and allowances lie.
namespace limits {
inline constexpr double kExcellentCm = 30;   // |stop error| at most this: excellent
inline constexpr double kGoodCm = 100;       // at most this: good; elsewhere in the platform: acceptable
inline constexpr double kOutsideBeforeCm = 2000;  // a stand this far before the platform start ...
inline constexpr double kOutsideAfterCm = 10000;  // ... or after its end is a stop outside it;
                                                  // running further past it passes the stop
inline constexpr int32_t kLateAllowanceS = 30;    // lateness without points
inline constexpr int32_t kLatenessStepS = 30;     // then -1 for every started step
inline constexpr int32_t kEarlyDepartureS = 1;    // leaving more than this early
inline constexpr double kOverspeedToleranceKmh = 2;  // over the limit by more than this
inline constexpr int32_t kOverspeedTicksPerPoint = 20;  // -1 for every started 2 s
inline constexpr double kOverspeedSevereKmh = 10;       // an excess this high doubles the points
inline constexpr double kEmergencyBrakeKmh = 5;         // the driver's emergency brake from this speed
inline constexpr int32_t kComfortWindowTicks = 50;      // the last 5 s before a stand
inline constexpr double kComfortDecelerationKmhS = 4.0;  // peak deceleration above this
inline constexpr double kComfortJerkKmhS2 = 25.0;        // change of deceleration per second above this
inline constexpr int32_t kReversalWindowTicks = 150;     // brake reversals in the last 15 s
}  // namespace limits

// -1 for every started kLatenessStepS beyond kLateAllowanceS, at most kLatenessCap; 0 within.
inline int32_t latenessPoints(int32_t lateS) {
  if (lateS <= limits::kLateAllowanceS) return 0;
  const int32_t steps = (lateS - limits::kLateAllowanceS + limits::kLatenessStepS - 1) / limits::kLatenessStepS;
  return std::max(-steps, points::kLatenessCap);
}

// -1 for every started 2 s over the limit, doubled when the excess reached kOverspeedSevereKmh, at
// most kOverspeedCap.
inline int32_t overspeedPoints(int32_t ticksOver, double peakExcessKmh) {
  const int32_t steps = (ticksOver + limits::kOverspeedTicksPerPoint - 1) / limits::kOverspeedTicksPerPoint;
  const int32_t p = peakExcessKmh >= limits::kOverspeedSevereKmh ? -2 * steps : -steps;
  return std::max(p, points::kOverspeedCap);
}

}  // namespace kestrel::grade
