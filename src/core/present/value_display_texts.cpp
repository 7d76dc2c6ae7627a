#include "core/present/value_display_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "core/present/sound_layout.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

std::string str(int64_t v) {
  return std::to_string(v);
}

// The whole part of a fixed-point value: its raw value divided by 10 000, truncated.
int64_t whole(Fixed f) {
  return f.raw() / Fixed::kScale;
}

int64_t whole(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int64_t>(std::clamp(std::trunc(v), -9.2e18, 9.2e18));
}

std::string decimals(double v, int places) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", places, v);
  return buf;
}

// A fixed-point value with its four decimals, trailing zeros (and a bare point) dropped.
std::string trimmed(Fixed f) {
  std::string s = f.toString();
  s.erase(s.find_last_not_of('0') + 1);
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string metres(double cm) {
  return str(roundHalfAway(cm / 100));
}

int32_t bar(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kValueBarMaximum));
}

std::string nextStop(const DriveContext& ctx) {
  const auto& stations = ctx.line.Station;
  const int32_t next = ctx.train.stations.nextStopStation;
  if (next < 0 || next >= static_cast<int32_t>(stations.size())) return {};
  return str(next) + " m " +
         metres(stations[static_cast<size_t>(next)].stopDistanceCm - ctx.train.distanceRun);
}

// The [Pre_Train] stretch whose speed the preceding train runs at: from its row's station to the
// next row's (the last row's stretch ends at the removal position); the last match stands, as in
// the timetable rule.
std::string preTrainStretch(const DriveContext& ctx) {
  const int32_t frame = ctx.train.preTrain.preTrainFrame;
  const auto& line = ctx.line;
  const auto& rows = line.Pre_Train.rows;
  auto stationFrame = [&](int32_t station) -> std::optional<int32_t> {
    if (station < 0 || station >= static_cast<int32_t>(line.Station.size())) return std::nullopt;
    return line.Station[static_cast<size_t>(station)].stopFrame();
  };
  std::string text;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto from = stationFrame(rows[i].station);
    const auto to = i + 1 < rows.size() ? stationFrame(rows[i + 1].station)
                                        : std::optional<int32_t>(line.Pre_Train.removePos);
    if (from && to && *from <= frame && frame < *to) text = "(" + str(*from) + "～" + str(*to) + ")";
  }
  return text;
}

void pressures(const TrainState& t, ValueDisplayTexts& out) {
  out.Label71 = str(whole(t.bpPressure)) + " kPa";
  out.Label3 = str(whole(t.sapPressure)) + " kPa";
  out.Label4 = str(whole(t.erPressure)) + " kPa";
  out.Label5 = str(whole(t.mrPressure)) + " kPa";
  out.Label2 = str(whole(t.bcMotor)) + "k";
  out.Label11 = str(whole(t.bcTrailer)) + "k";
  out.Label69 = str(whole(t.elecBrakeCurrent)) + "A";
  out.Bar_Press0 = bar(whole(t.bcMotor));
  out.Bar_Press1 = bar(whole(t.bcTrailer));
  out.Bar_Press6 = bar(whole(t.elecBrakeCurrent));
}

void motion(const DriveContext& ctx, ValueDisplayTexts& out) {
  const TrainState& t = ctx.train;
  out.Label1 = decimals(t.speed, 1) + " km/h";
  const double mass = ctx.tons() * 1000;
  const double acceleration = mass > 0 ? (t.netForce.toDouble() + t.resistForce.toDouble()) / mass * 3.6 : 0;
  out.Label6 = decimals(acceleration, 1) + " km/h/s";
  out.Label27 = trimmed(t.gradient) + " Permil";
  out.Label7 = str(whole(t.netForce)) + " N";
  out.Label25 = str(whole(t.resistForce)) + " N";
  out.Label50 = str(t.motorCurrent) + " A";
  out.Label40 = str(roundHalfAway(t.engineSpeed));
  out.Label52 = ctx.control.modeText + " Gp " + str(t.gear) + "Gn " + str(t.targetGear);
  out.Label65 = (t.slipText.empty() ? "" : t.slipText + " ") + decimals(t.adhesionCoeff.toDouble(), 2) + " " +
                str(whole(t.adhesionLimit)) + "N";
}

void movie(const TrainState& t, int32_t framesPerSecond, ValueDisplayTexts& out) {
  out.Label30 = str(t.MovieFrame);
  out.Label31 = str(t.UnitsPerFrame) + " km/h";
  out.Label46 = str(t.SubFrame);
  out.Label48 = str(t.LastShownFrame);
  out.Label54 = str(t.MovieMode);
  out.Label63 = str(framesPerSecond);
}

void position(const DriveContext& ctx, ValueDisplayTexts& out) {
  const TrainState& t = ctx.train;
  out.Label37 = nextStop(ctx);
  out.Label33 = str(roundHalfAway(t.distanceToStop)) + " cm";
  out.Label35 = metres(t.distanceRun) + " m";
  out.Label23 = str(t.preTrain.preTrainFrame);
  out.Label42 = preTrainStretch(ctx);
}

void protection(const DriveContext& ctx, ValueDisplayTexts& out) {
  const TrainState& t = ctx.train;
  const SignalState& s = t.signals;
  out.Label8 = s.patternKind == PatternKind::None ? "" : metres(s.patternDistance - t.distanceRun);
  out.Label9 = str(s.patternTarget);
  out.Label20 = str(s.brakePattern) + "/" + str(s.warningPattern);

  const LimitLookAhead& limit = s.lookAhead[0];
  out.Label60 = limit.row < 0 ? "" : metres(limit.remainingCm);
  out.Label61 = limit.row < 0 ? "" : str(limit.limit);

  const auto& checks = ctx.line.SpeedCheck1;
  const auto check = std::find_if(checks.begin(), checks.end(),
                                  [&](const SpeedCheck1Row& r) { return r.positionCm > t.distanceRun; });
  out.Label19 = check == checks.end() ? "" : metres(check->positionCm - t.distanceRun);
  out.Label41 = check == checks.end() ? "" : str(check->f(1));

  out.Label21 =
      "Signal now:" + str(s.currentSignal) + " now2:" + str(t.currentCode) + " lim_now:" + str(t.checkSpeed);
}

void controls(const DriveContext& ctx, ValueDisplayTexts& out) {
  const TrainState& t = ctx.train;
  const ControlState& c = ctx.control;
  out.Label44 = "P " + str(c.powerHandle) + " " + str(t.powerNotch) + " " + str(t.powerDelayCount) + " B " +
                str(c.brakeHandle) + " " + str(t.brakeNotch) + " " + str(t.sapNotch) + " " + str(t.ebNotch) +
                " " + str(t.brakeDelayCount);
  out.Label56 = str(t.trackside.signRow);
  const SoundLayout sounds = SoundLayout::of(ctx.vehicle, ctx.line);
  out.Label57 = "Sound D:" + str(sounds.vehicleCount) + " L:" + str(sounds.environmentCount) +
                " M:" + str(sounds.motorCount) + " K:1";
}

// The section the frame is in begins at the last signal at or behind it; the five after it.
void signalsAhead(const DriveContext& ctx, ValueDisplayTexts& out) {
  const auto& rows = ctx.line.Signal;
  const SignalState& s = ctx.train.signals;
  int64_t section = -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].position() <= ctx.train.MovieFrame) section = static_cast<int64_t>(i);
  for (size_t k = 0; k < out.signal.size(); ++k) {
    const auto i = static_cast<size_t>(section + 1) + k;
    out.signal[k] = i < s.aspect.size() && i < s.signalCode.size() && i < rows.size()
                        ? str(s.aspect[i]) + " " + str(s.signalCode[i])
                        : "";
  }
}

}  // namespace

SoundCell dc(const Mixer& mixer, int channel) {
  if (!mixer.hasWave(channel)) return {};
  if (mixer.isPlaying(channel)) return {SoundCell::Kind::Playing, mixer.volume(channel)};
  return {SoundCell::Kind::Idle, 0};
}

ValueDisplayTexts valueDisplayTexts(const DriveContext& ctx, int32_t framesPerSecond) {
  ValueDisplayTexts out;
  motion(ctx, out);
  pressures(ctx.train, out);
  movie(ctx.train, framesPerSecond, out);
  position(ctx, out);
  protection(ctx, out);
  controls(ctx, out);
  signalsAhead(ctx, out);
  for (int channel = 0; channel < kSoundGridCells; ++channel)
    out.grid[static_cast<size_t>(channel)] = dc(ctx.mixer, channel);
  return out;
}

}  // namespace kestrel
