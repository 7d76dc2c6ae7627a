#include "tools/run/trace_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kestrel::run {

std::string formatDecimal(double value, int places) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", places, value);
  std::string s = buf;
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

namespace {

using S = const TraceSource&;
std::string num(int64_t v) {
  return std::to_string(v);
}
std::string dec(double v) {
  return formatDecimal(v, 6);
}
std::string fx(Fixed v) {
  return v.toString();
}
// The channels playing, in order, separated by blanks.
std::string playing(const Mixer* mixer) {
  std::string out;
  if (!mixer) return out;
  for (int ch = 0; ch < Mixer::kChannelCount; ++ch) {
    if (!mixer->isPlaying(ch)) continue;
    if (!out.empty()) out += ' ';
    out += std::to_string(ch);
  }
  return out;
}

// A trackside sprite's pattern or y; empty when there is no such sprite or it is hidden.
std::string spriteValue(const SpriteScene* sprites, std::string_view name, bool y) {
  const Sprite* sprite = sprites ? sprites->find(name) : nullptr;
  if (!sprite || !sprite->visible) return {};
  return num(y ? static_cast<int64_t>(std::llround(sprite->y)) : sprite->pattern);
}

}  // namespace

const std::vector<TraceColumn>& traceColumns() {
  static const std::vector<TraceColumn> columns{
      {"t_s", [](S s) { return formatSeconds(s.timeUs); }},
      {"TickCounter", [](S s) { return num(s.train.TickCounter); }},
      {"speed_kmh", [](S s) { return dec(s.train.speed); }},
      {"distanceRun_cm", [](S s) { return dec(s.train.distanceRun); }},
      {"distanceToStop_cm", [](S s) { return dec(s.train.distanceToStop); }},
      {"MovieFrame", [](S s) { return num(s.train.MovieFrame); }},
      {"reverser", [](S s) { return num(s.control.reverser); }},
      {"powerHandle", [](S s) { return num(s.control.powerHandle); }},
      {"powerNotch", [](S s) { return num(s.train.powerNotch); }},
      {"brakeHandle", [](S s) { return num(s.control.brakeHandle); }},
      {"brakeNotch", [](S s) { return num(s.train.brakeNotch); }},
      {"netForce_N", [](S s) { return fx(s.train.netForce); }},
      {"resistForce_N", [](S s) { return fx(s.train.resistForce); }},
      {"brakeForce_N", [](S s) { return fx(s.train.brakeForce); }},
      {"bcMotor_kPa", [](S s) { return fx(s.train.bcMotor); }},
      {"bcTrailer_kPa", [](S s) { return fx(s.train.bcTrailer); }},
      {"bp_kPa", [](S s) { return dec(s.train.bpPressure); }},
      {"er_kPa", [](S s) { return fx(s.train.erPressure); }},
      {"mr_kPa", [](S s) { return fx(s.train.mrPressure); }},
      {"sap_kPa", [](S s) { return fx(s.train.sapPressure); }},
      {"elecBrakeCurrent_A", [](S s) { return dec(s.train.elecBrakeCurrent); }},
      {"ammeter_A", [](S s) { return num(s.train.ammeter); }},
      {"lineVoltage_V", [](S s) { return fx(s.train.lineVoltage); }},
      {"gradient_permil", [](S s) { return fx(s.train.gradient); }},
      {"adhesionCoeff", [](S s) { return fx(s.train.adhesionCoeff); }},
      {"slipText", [](S s) { return s.train.slipText; }},
      {"engineSpeed", [](S s) { return dec(s.train.engineSpeed); }},
      {"gear", [](S s) { return num(s.train.gear); }},
      // Stations, doors and time; the preceding train.
      {"clock", [](S s) { return s.train.stations.clockText; }},
      {"currentStation", [](S s) { return num(s.train.stations.currentStation); }},
      {"nextStopStation", [](S s) { return num(s.train.stations.nextStopStation); }},
      {"stopTarget_cm", [](S s) { return dec(s.train.stopTarget); }},
      {"doorsOpen", [](S s) { return num(s.train.doorsOpen); }},
      {"doorsCommandedOpen", [](S s) { return num(s.train.doorsCommandedOpen); }},
      {"stationText", [](S s) { return s.train.stations.stationText; }},
      {"preTrainFrame", [](S s) { return num(s.train.preTrain.preTrainFrame); }},
      {"runEnded", [](S s) { return num(s.train.stations.runEnded); }},
      // The movie.
      {"MovieMode", [](S s) { return num(s.train.MovieMode); }},
      {"SubFrame", [](S s) { return num(s.train.SubFrame); }},
      {"LastShownFrame", [](S s) { return num(s.train.LastShownFrame); }},
      {"MovieDirection", [](S s) { return num(s.train.MovieDirection); }},
      // The sounds.
      {"playing", [](S s) { return playing(s.mixer); }},
      // Signals and ATS, the notices, the vigilance device.
      {"currentCode", [](S s) { return num(s.train.currentCode); }},
      {"checkSpeed", [](S s) { return num(s.train.checkSpeed); }},
      {"patternState", [](S s) { return num(s.train.signals.patternState); }},
      {"patternTarget", [](S s) { return num(s.train.signals.patternTarget); }},
      {"autoEmergency", [](S s) { return num(s.train.autoEmergency); }},
      {"autoService", [](S s) { return num(s.train.autoService); }},
      {"atsAlarm", [](S s) { return num(s.train.atsAlarm); }},
      {"noticeText", [](S s) { return s.train.noticeText; }},
      {"vigilanceTicks", [](S s) { return num(s.train.vigilanceTicks); }},
      // The trackside pictures.
      {"teimokuM_y", [](S s) { return spriteValue(s.sprites, "img_unten_teimokuM", true); }},
      {"remain_pattern", [](S s) { return spriteValue(s.sprites, "img_unten_remain", false); }},
      {"remain_y", [](S s) { return spriteValue(s.sprites, "img_unten_remain", true); }},
      {"limit_pattern", [](S s) { return spriteValue(s.sprites, "img_unten_limit", false); }},
      {"slope_pattern", [](S s) { return spriteValue(s.sprites, "img_unten_slope", false); }},
      {"signal_pattern", [](S s) { return spriteValue(s.sprites, "img_unten_signal", false); }},
      // The line-side pictures (the picture of the list) and the cab indicator.
      {"trafficlight_pattern", [](S s) { return spriteValue(s.sprites, kTrafficSignalListName, false); }},
      {"anim_pattern", [](S s) { return spriteValue(s.sprites, kAnimListName, false); }},
      {"cross_pattern", [](S s) { return spriteValue(s.sprites, kCrossListName, false); }},
      {"cabsignal_pattern", [](S s) { return spriteValue(s.sprites, "img_cabsignal", false); }},
      // A race against a ghost (empty without one, or where the ghost never was).
      {"ghostFrame", [](S s) { return s.ghostFrame ? num(*s.ghostFrame) : std::string(); }},
      {"ghostDeltaS", [](S s) { return s.ghostDeltaS ? formatDecimal(*s.ghostDeltaS, 3) : std::string(); }},
  };
  return columns;
}

TraceWriter::TraceWriter(std::ostream& out, int every) : out_(out), every_(every < 1 ? 1 : every) {}

void TraceWriter::writeHeader() {
  const auto& columns = traceColumns();
  for (size_t i = 0; i < columns.size(); ++i) out_ << (i ? "," : "") << csvField(columns[i].name);
  out_ << "\r\n";
}

void TraceWriter::tick(const TraceSource& source) {
  if (ticks_++ % every_ != 0) return;
  const auto& columns = traceColumns();
  for (size_t i = 0; i < columns.size(); ++i) out_ << (i ? "," : "") << csvField(columns[i].value(source));
  out_ << "\r\n";
}

}  // namespace kestrel::run
