// Over the run: time over a speed limit, signals passed, ATS interventions, emergency brakes and
// the vigilance device, and the comfort of every stop.
#include <algorithm>
#include <cmath>

#include "core/grade/grade_texts.h"
#include "core/grade/grader.h"
#include "core/grade/points_table.h"

namespace kestrel::grade {

namespace {

constexpr double kStandingKmh = 0.1;
constexpr int32_t kVigilanceRingTicks = 600;  // past this the ring sounds; the brake follows
constexpr double kRollbackKmh = -7;           // reverser x speed below this: the rollback protection
constexpr int32_t kSignalEntry = static_cast<int32_t>(PatternKind::Signal);
constexpr int32_t kStationStopEntry = static_cast<int32_t>(PatternKind::StationStop);
constexpr int64_t kWarningRepeatUs = 10'000'000;  // a warning for the same target this long after the last counts again

bool hasHead(const SignalRow& s) {
  return s.kind() != 0 && s.kind() != -1;
}

}  // namespace

// The lowest of the [SpeedLimit] rows over the frame (start <= frame < end, as its post shows),
// the [SpeedCheck2] sections (start < frame < end) and the train's [MaxSpeed]. A [SpeedLimit] row
// whose kind (field 3) makes it a signal's or a station stop's entry for the ATS pattern is no limit.
std::optional<int32_t> Grader::limitAt(const TrainState& t) const {
  std::optional<int32_t> limit;
  const auto lower = [&](int32_t v) {
    if (v > 0 && (!limit || v < *limit)) limit = v;
  };
  const int32_t f = t.MovieFrame;
  for (const SpeedLimitRow& r : line_.SpeedLimit)
    if (r.f(3) != kSignalEntry && r.f(3) != kStationStopEntry && r.start() <= f && f < r.end()) lower(r.limit());
  for (const SpeedCheck2Row& r : line_.SpeedCheck2)
    if (r.f(3) < f && f < r.f(4)) lower(r.f(1));
  lower(vehicle_.MaxSpeed);
  return limit;
}

GradeEvent Grader::overspeedEvent(const Overspeed& o) const {
  GradeEvent e = o.at;
  e.kind = std::string(kind::kOverspeed);
  e.points = overspeedPoints(o.ticks, o.peakExcess);
  e.text = texts::overspeed(o.limit, o.ticks, o.limit + o.peakExcess);
  return e;
}

void Grader::endOverspeed() {
  if (!overspeed_.on) return;
  const GradeEvent e = overspeedEvent(overspeed_);
  add(e, e.kind, e.points, e.text);
  overspeed_ = {};
}

// One episode per stretch over one limit: a new limit ends it and may begin the next.
void Grader::gradeOverspeed(const TrainState& t, int64_t nowUs) {
  const std::optional<int32_t> limit = limitAt(t);
  const bool over = limit && t.speed > *limit + limits::kOverspeedToleranceKmh;
  if (overspeed_.on && (!over || *limit != overspeed_.limit)) endOverspeed();
  if (!over) return;
  if (!overspeed_.on) {
    overspeed_.on = true;
    overspeed_.at = eventHere(t, nowUs);
    overspeed_.limit = *limit;
  }
  overspeed_.ticks += 1;
  overspeed_.peakExcess = std::max(overspeed_.peakExcess, t.speed - *limit);
}

// A head passed when the frame moves forward over its position; the aspect is the one this tick
// left it at.
void Grader::gradeSignals(const TrainState& t, int64_t nowUs) {
  if (t.MovieFrame <= seen_.frame) return;
  const int32_t aspects = static_cast<int32_t>(line_.Speed_Signal.size());
  for (size_t i = 0; i < line_.Signal.size(); ++i) {
    const SignalRow& s = line_.Signal[i];
    if (!hasHead(s) || !(seen_.frame < s.position() && s.position() <= t.MovieFrame)) continue;
    const int32_t aspect = i < t.signals.aspect.size() ? t.signals.aspect[i] : aspects - 1;
    signals_.push_back({static_cast<int32_t>(i), nowUs, t.distanceRun, t.speed, aspect, aspects});
    if (aspect == 0)
      add(eventHere(t, nowUs), kind::kSignalAtStop, points::kSignalAtStop,
          texts::signalAtStop(t.speed));
  }
}

// Each intervention once, at the tick that began it, by its cause: the vigilance device, a
// pattern or ATC brake, an ATS alarm or pattern warning, any other emergency request (ATS, the
// rollback protection). The driver's own emergency brake counts while no protection brakes.
void Grader::gradeProtection(const TrainState& t, const ControlState& c, int64_t nowUs) {
  const GradeEvent here = eventHere(t, nowUs);
  const double v = t.speed;
  const int32_t pattern = t.signals.patternState;
  bool explained = false;
  if (!seen_.autoEmergency && t.autoEmergency && seen_.vigilanceTicks > kVigilanceRingTicks &&
      t.vigilanceTicks == 0) {
    add(here, kind::kVigilanceBrake, points::kVigilanceBrake, texts::vigilanceBrake(v));
    explained = true;
  }
  if (seen_.patternState < 2 && pattern >= 2) {
    add(here, kind::kAtsPatternBrake, points::kAtsPatternBrake, texts::atsPatternBrake(v, t.signals.brakePattern));
    explained = true;
  } else if (seen_.patternState == 0 && pattern == 1) {
    const int32_t entry = t.signals.patternEntry;
    if (entry != warnedEntry_ || nowUs - warningEndedUs_ > kWarningRepeatUs)
      add(here, kind::kAtsWarning, points::kAtsWarning, texts::atsWarning(v));
    warnedEntry_ = entry;
  }
  if (seen_.patternState >= 1 && pattern == 0) warningEndedUs_ = nowUs;
  if (!seen_.atcBraking && t.signals.atcBraking && !(t.autoEmergency && !seen_.autoEmergency)) {
    add(here, kind::kAtsPatternBrake, points::kAtsPatternBrake, texts::atcBrake(v));
    explained = true;
  }
  if (!seen_.atsAlarm && t.atsAlarm) add(here, kind::kAtsWarning, points::kAtsWarning, texts::atsWarning(v));
  if (!seen_.autoEmergency && t.autoEmergency && !explained) {
    const bool rollback = c.reverser * v < kRollbackKmh;
    add(here, kind::kAtsEmergency, points::kAtsEmergency,
        rollback ? texts::rollbackEmergency(v) : texts::atsEmergency(v));
  }
  const bool protectionBraking = t.autoEmergency || t.autoService || seen_.autoEmergency || seen_.autoService;
  if (c.brakeHandle == -nB_ && seen_.brakeHandle != -nB_ && !protectionBraking &&
      std::max(std::fabs(seen_.speed), std::fabs(v)) >= limits::kEmergencyBrakeKmh)
    add(here, kind::kEmergencyBrake, points::kEmergencyBrake, texts::emergencyBrake(std::max(std::fabs(seen_.speed), std::fabs(v))));
}

// At every stand after running under the driver's own brake: the peak deceleration and the
// largest change of deceleration per second in the last seconds (the drop to nothing at the stand
// included), and the brake steps released and applied again since the brake was last off.
void Grader::gradeComfort(const TrainState& t, int64_t nowUs) {
  if (!(std::fabs(seen_.speed) >= kStandingKmh && std::fabs(t.speed) < kStandingKmh)) return;
  if (t.autoEmergency || t.autoService || recent_.size() < 3) return;
  const size_t n = recent_.size();
  const GradeEvent here = eventHere(t, nowUs);

  // Decelerations per tick (km/h/s), oldest first, over the window; the last is the stand's.
  const size_t window = std::min(n - 1, static_cast<size_t>(limits::kComfortWindowTicks));
  std::vector<double> a;
  for (size_t k = n - window; k < n; ++k) a.push_back((recent_[k - 1].speed - recent_[k].speed) * 10);
  const double peak = *std::max_element(a.begin(), a.end());
  // The stand's tick is cut short by the stop clamp: the train stops inside it, from the
  // deceleration of the tick before down to nothing.
  double jerk = a.size() >= 2 ? a[a.size() - 2] * 10 : 0;
  for (size_t k = 1; k + 1 < a.size(); ++k) jerk = std::max(jerk, std::fabs(a[k] - a[k - 1]) * 10);
  if (peak > limits::kComfortDecelerationKmhS)
    add(here, kind::kComfortDeceleration, points::kComfortDeceleration, texts::comfortDeceleration(peak));
  if (jerk > limits::kComfortJerkKmhS2) add(here, kind::kComfortJerk, points::kComfortJerk, texts::comfortJerk(jerk));

  // The braking that ended here: back to the last tick with the brake off or power on.
  size_t from = n - 1;
  while (from > 0 && recent_[from - 1].brakeStep > 0 && recent_[from - 1].powerHandle == 0) --from;
  int32_t reversals = 0;
  bool eased = false;
  for (size_t k = from + 1; k < n; ++k) {
    const int32_t before = recent_[k - 1].brakeStep, now = recent_[k].brakeStep;
    if (now < before) eased = true;
    if (now > before && now < nB_ && eased) {
      ++reversals;
      eased = false;
    }
  }
  if (reversals > 0)
    add(here, kind::kBrakeReversal, std::max(reversals * points::kBrakeReversal, points::kBrakeReversalCap),
        texts::brakeReversal(reversals));
}

}  // namespace kestrel::grade
