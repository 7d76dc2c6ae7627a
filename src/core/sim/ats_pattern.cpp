#include "core/sim/ats_pattern.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "core/ports/mixer_actions.h"
#include "core/sim/ats_alarm.h"
#include "core/sim/brake_requests.h"
#include "core/sim/signals.h"
#include "core/state/pending_flags.h"
#include "core/sim/stations.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

constexpr std::array<std::pair<double, double>, 7> kWindows{{{59000, 60000},
                                                             {27000, 28000},
                                                             {17000, 18000},
                                                             {12000, 13000},
                                                             {7500, 8500},
                                                             {4000, 5000},
                                                             {1500, 2000}}};
constexpr double kLookAheadCm = 60000;
constexpr double kStationEraseCm = 200;
constexpr double kSpeedCheckEraseCm = 500;

struct Pattern {
  int32_t target = SignalState::kNoPattern;
  double distance = 0;
  PatternKind kind = PatternKind::None;
  int32_t entry = -1;
};

Pattern standing(const SignalState& s) {
  return {s.patternTarget, s.patternDistance, s.patternKind, s.patternEntry};
}

double brakeRate1(const DriveContext& ctx) {
  return ctx.vehicle.BrakeRate[0].toDouble();
}

// L + 10, L the line speed of the station section: the cap of both patterns, and their value
// without a pattern. A line without stations has no line speed, and nothing caps the patterns.
int32_t lineCap(const DriveContext& ctx) {
  const auto L = currentSectionLineSpeed(ctx);
  return L ? *L + 10 : 1000;
}

double toGo(const DriveContext& ctx, const Pattern& p) {
  return p.distance - ctx.train.distanceRun;
}

int32_t brakeSpeed(const DriveContext& ctx, const Pattern& p) {
  const int32_t cap = lineCap(ctx);
  if (p.kind == PatternKind::None) return cap;
  int32_t vb = brakePatternSpeed(p.target, toGo(ctx, p), brakeRate1(ctx));
  if (p.kind == PatternKind::Signal) vb = std::max(vb, 10);
  if (p.kind == PatternKind::StationStop) vb = std::max(vb, 1);
  return std::min(vb, cap);
}

int32_t warningSpeed(const DriveContext& ctx, const Pattern& p) {
  const int32_t cap = lineCap(ctx);
  if (p.kind == PatternKind::None) return cap;
  return std::min(warningPatternSpeed(p.target, toGo(ctx, p), brakeRate1(ctx)), cap);
}

std::string metres(double rCm) {
  return std::to_string(roundHalfAway(rCm / 100)) + "m";
}

void erase(SignalState& s, const char* message) {
  s.patternTarget = SignalState::kNoPattern;
  s.patternDistance = 0;
  s.patternKind = PatternKind::None;
  s.patternEntry = -1;
  if (message) logAtsMessage(s, message);
}

// The station a stop entry belongs to: the one whose stop lies nearest.
int32_t stationOfEntry(const LineData& line, double distance) {
  int32_t best = -1;
  for (size_t i = 0; i < line.Station.size(); ++i)
    if (best < 0 || std::fabs(line.Station[i].stopDistanceCm - distance) <
                        std::fabs(line.Station[static_cast<size_t>(best)].stopDistanceCm - distance))
      best = static_cast<int32_t>(i);
  return best;
}

// The stop has been made, or the train is beyond the station's platform.
bool stationStopMade(const DriveContext& ctx, double entryDistance) {
  const int32_t st = stationOfEntry(ctx.line, entryDistance);
  if (st < 0) return false;
  const auto& visits = ctx.train.stations.visits;
  if (static_cast<size_t>(st) < visits.size() && visits[static_cast<size_t>(st)].arrived) return true;
  return ctx.train.distanceRun > ctx.line.Station[static_cast<size_t>(st)].platformEndCm;
}

// A pattern whose target lies behind it ends.
void endPassedPattern(DriveContext& ctx) {
  SignalState& s = ctx.train.signals;
  const double r = toGo(ctx, standing(s));
  switch (s.patternKind) {
    case PatternKind::StationStop:
      if (r < kStationEraseCm || stationStopMade(ctx, s.patternDistance)) erase(s, "停車駅パターン消去");
      break;
    case PatternKind::SpeedCheck:
      if (r < kSpeedCheckEraseCm) erase(s, "速度照査パターン消去");
      break;
    case PatternKind::Signal:
      if (r < 0) erase(s, nullptr);
      break;
    case PatternKind::None:
      break;
  }
}

// A beacon offers a pattern; it stands if it is the standing pattern's own entry or at least as
// restrictive here.
void offer(DriveContext& ctx, const Pattern& p, int32_t window, const std::string& message) {
  SignalState& s = ctx.train.signals;
  const bool same = s.patternEntry == p.entry;
  if (!same && s.patternKind != PatternKind::None && brakeSpeed(ctx, p) > brakeSpeed(ctx, standing(s)))
    return;
  s.patternTarget = p.target;
  s.patternDistance = p.distance;
  s.patternKind = p.kind;
  s.patternEntry = p.entry;
  const int32_t key = p.entry * 8 + window;
  if (key != s.loggedBeacon) logAtsMessage(s, message);
  s.loggedBeacon = key;
}

void beacons(DriveContext& ctx) {
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  const auto& events = ctx.line.events;
  for (size_t i = 0; i < events.size(); ++i) {
    const LineEvent& e = events[i];
    const double r = e.distanceCm - t.distanceRun;
    if (!(r > 0 && r < kLookAheadCm)) continue;
    const int32_t window = beaconWindow(r);
    if (window < 0) continue;
    const Pattern p{e.value, e.distanceCm, static_cast<PatternKind>(e.kind), static_cast<int32_t>(i)};
    if (e.kind == 2) {
      const auto sig = static_cast<size_t>(e.index);
      if (sig >= ctx.line.Signal.size() || sig >= s.aspect.size()) continue;
      if (hasSignalHead(ctx.line.Signal[sig]) && s.aspect[sig] == 0)
        offer(ctx, p, window, "停止信号まで" + metres(r));
      else if (s.patternKind == PatternKind::Signal && s.patternEntry == p.entry)
        erase(s, ("パターン消去: 信号まで" + metres(r)).c_str());
    } else if (e.kind == 3) {
      if (t.speed != 0 && !stationStopMade(ctx, e.distanceCm))
        offer(ctx, p, window, "停車駅まで" + metres(r));
    } else if (e.kind == 1) {
      Pattern check = p;
      check.target = e.value + 10;
      offer(ctx, check, window, std::to_string(check.target) + "km/h照査まで" + metres(r));
    }
  }
}

int32_t nextState(const DriveContext& ctx, int32_t vb, int32_t vw) {
  const TrainState& t = ctx.train;
  const SignalState& s = t.signals;
  const int32_t P = s.patternTarget;
  const double v = t.speed;
  const bool autoBrake = t.autoService || t.autoEmergency;
  if (P <= 15 && P < v && vb < v) return 3;
  if (P >= 16 && P < v && vb < v) return 2;
  if (ctx.vehicle.ATS_Alert == 0) {
    if (!autoBrake && (v >= vw - 0.5 || v >= vb - 5)) return 1;
  } else {
    const int32_t cap = lineCap(ctx);
    if ((vb < cap && v >= vb - 15) || (vb == cap && v >= vb - 5)) return 1;
  }
  if (s.patternState == 2 && P >= 15 && roundHalfAway(v) < P - 10) return 0;
  return autoBrake ? s.patternState : 0;
}

void enterState(DriveContext& ctx, int32_t state, int32_t vb) {
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  const VehicleParams& v = ctx.vehicle;
  if (state == 1) {
    ctx.sprites.setVisible("img_Lamp_Atsp1", true);
    ctx.sprites.setVisible("img_Lamp_Atsp2", false);
    restartOnce(ctx.mixer, v.ATS_Warn);
  } else if (state >= 2) {
    const char* what = state == 3 ? "km/h照査によって停止ブレーキ 速度" : "km/h照査によってブレーキ 速度";
    logAtsMessage(s, std::to_string(s.patternTarget) + what + std::to_string(roundHalfAway(t.speed)) +
                         " パターン" + std::to_string(vb));
    if (v.ATS_Alert == 0) {
      requestAutoBrake(ctx, AutoBrake::Service, Pending::Brake);
      restartOnce(ctx.mixer, v.Sound_Ats1);
    } else {
      requestAtsEmergency(ctx);
      raiseBrake(t);  // also when the emergency brake stood already
    }
    ctx.sprites.setVisible("img_Lamp_Atsp1", true);
    ctx.sprites.setVisible("img_Lamp_Atsp2", true);
  } else {
    releaseAutoService(ctx, Pending::Brake);
    ctx.sprites.setVisible("img_Lamp_Atsp1", false);
    ctx.sprites.setVisible("img_Lamp_Atsp2", false);
  }
}

void patternTexts(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const SignalState& s = t.signals;
  if (s.patternKind == PatternKind::None) {
    t.texts.label8.clear();
    t.texts.label9.clear();
    return;
  }
  t.texts.label8 = metres(toGo(ctx, standing(s)));
  t.texts.label9 = std::to_string(s.patternTarget) + "km/h";
}

}  // namespace

int32_t beaconWindow(double rCm) {
  for (size_t w = 0; w < kWindows.size(); ++w)
    if (rCm > kWindows[w].first && rCm <= kWindows[w].second) return static_cast<int32_t>(w);
  return -1;
}

int32_t brakePatternSpeed(double P, double rCm, double B1) {
  if (rCm <= 2000) return roundHalfAway(P);
  return roundHalfAway(std::sqrt(P * P + 7.2 * 0.7 * B1 * (rCm - 2000) / 100));
}

int32_t warningPatternSpeed(double P, double rCm, double B1) {
  if (rCm <= 7000) return roundHalfAway(P - 10);
  return roundHalfAway(std::sqrt(P * P + 7.2 * 0.7 * B1 * (rCm - 7000) / 100));
}

void runSpeedPattern(DriveContext& ctx) {
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  if (!t.AtsEnabled || ctx.vehicle.ATS_Type != 1 || ctx.control.reverser != 1) return;
  endPassedPattern(ctx);
  beacons(ctx);
  s.brakePattern = brakeSpeed(ctx, standing(s));
  s.warningPattern = warningSpeed(ctx, standing(s));
  s.patternState = nextState(ctx, s.brakePattern, s.warningPattern);
  if (s.patternState != s.patternStatePrevious) enterState(ctx, s.patternState, s.brakePattern);
  s.patternStatePrevious = s.patternState;
  if (t.checkSpeed == 0) requestAtsEmergency(ctx);
  patternTexts(ctx);
}

void cancelSignalPattern(DriveContext& ctx, int32_t signal) {
  SignalState& s = ctx.train.signals;
  if (s.patternKind != PatternKind::Signal || s.patternEntry < 0) return;
  const LineEvent& e = ctx.line.events[static_cast<size_t>(s.patternEntry)];
  if (e.index != signal) return;
  erase(s, ("パターン消去: 信号まで" + metres(e.distanceCm - ctx.train.distanceRun)).c_str());
}

void logAtsMessage(SignalState& s, std::string message) {
  s.messages.push_back(std::move(message));
  s.messagesLogged += 1;
  while (s.messages.size() > SignalState::kMessageCapacity) s.messages.pop_front();
}

}  // namespace kestrel
