#pragma once
// LineData: one line file — names, route movie, start position, adhesion, staff pictures, and the
// position-ordered tables of stations, signals, gradients, limits, checks, sounds, call-outs,
// pictures and movie switches. Positions are frames of the route movie; the distances in
// centimetres (fields ending in Cm) and the merged event list are derived once after loading.
// Read-only during a drive: the working values that the simulation changes live in its own state.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/util/fixed.h"

namespace kestrel {

// A comma row of N integer fields, addressed as in the file: f(1) .. f(N).
template <int N>
struct IntRow {
  std::array<int32_t, N + 1> field{};  // field[0] unused
  int32_t f(int n) const { return field[static_cast<size_t>(n)]; }
  int32_t& f(int n) { return field[static_cast<size_t>(n)]; }
};

struct MovieSwitchRow {
  int32_t type = 0;          // 0 or 1 branch movie, 2 station movie
  int32_t windowStart = 0;   // position
  int32_t windowEnd = 0;
  std::string movie;         // file name without folder and ".avi"
  int32_t frameCount = 0;
  int32_t resumeOrStation = 0;  // branch: main-movie position to resume at; station movie: station index
  int32_t afterTime = 0;     // station movie may play after this time of day
  int32_t soundFrame = 0;    // sub-frame at which the station movie's sound starts
  int32_t sound = 0;         // that sound's number (environment set)
};

struct PreTrainRow {
  int32_t station = 0;    // index into [Station]
  int32_t speed = 0;      // km/h after leaving that station
  int32_t departure = 0;  // time of day
};

struct PreTrain {
  int32_t startPos = 0;   // position when a run begins at the first station
  int32_t removePos = 0;  // beyond this the preceding train is removed
  std::vector<PreTrainRow> rows;
};

struct Perspective {
  double P = 0;   // metres; 0 draws no stop lines
  int32_t K = 0;  // pixels
};

struct MonitorSection {
  bool loaded = false;  // the first line named the loaded vehicle file
  std::string vehicle;
  int32_t x = 0, y = 0, patternWidth = 0, patternHeight = 0;
  std::string file;
};

struct AnnounceRow {
  int32_t sound = 0;
  int32_t flag = 0;  // 0: a station jump may resume the sequence here
  int32_t station = 0;
  int32_t extra = 0;
};

struct Announce {
  int32_t first = 0;  // sound number of announcement 0
  std::vector<AnnounceRow> rows;  // row k (from 1) is rows[k - 1]
};

struct KankoSound2Row {
  std::string file;
  int32_t number = 0;  // its own number counted from 0 (clip number is 22 + number)
};

struct StationRow {
  std::string name;                 // field 1
  std::array<int32_t, 16> field{};  // fields 2 .. 15 (field[0], field[1] unused)
  int32_t f(int n) const { return field[static_cast<size_t>(n)]; }
  int32_t type() const { return field[2]; }
  int32_t stopFrame() const { return field[3]; }
  int32_t halfWidthCm() const { return field[4]; }
  int32_t arrivalSound() const { return field[5]; }
  int32_t departureSound() const { return field[6]; }
  int32_t departureTime() const { return field[8]; }
  int32_t lineSpeed() const { return field[9]; }
  int32_t randomEvent() const { return field[12]; }
  int32_t platformSide() const { return field[14]; }
  // Derived.
  double stopDistanceCm = 0;
  double platformStartCm = 0;
  double platformEndCm = 0;
};

struct SignalRow : IntRow<22> {
  int32_t mode() const { return f(1); }
  int32_t kind() const { return f(4); }  // 0 or -1: no signal head
  int32_t approachStart() const { return f(5); }
  int32_t position() const { return f(6); }
  double positionCm = 0;  // derived
};

struct TrafficSignalRow : IntRow<26> {
  static constexpr int kPhases = 6;
  int32_t position() const { return f(1); }
  int32_t start() const { return f(2); }  // the picture shows while start <= position < end
  int32_t end() const { return f(3); }
  // Phase p (0 to 5 for phases 1 to 6): the light's picture, its duration in ticks, its flag.
  int32_t phasePattern(int p) const { return f(4 + 3 * p); }
  int32_t phaseDuration(int p) const { return f(5 + 3 * p); }
  int32_t phaseFlag(int p) const { return f(6 + 3 * p); }
  bool drivesIndicator() const { return f(22) != 0; }
  int32_t indicatorEnd() const { return f(23); }
  double positionCm = 0;  // derived, of field 1
};

struct AnimRow : IntRow<4> {
  int32_t start() const { return f(1); }
  int32_t end() const { return f(2); }
  int32_t ticksPerStep() const { return f(3); }
  int32_t firstPattern() const { return f(4); }
};

struct SlopeRow {
  Fixed gradient;  // per mille, negative downhill
  int32_t start = 0;
  int32_t end = 0;  // applies while start < position < end
};

struct SpeedLimitRow : IntRow<6> {
  int32_t limit() const { return f(1); }
  int32_t start() const { return f(4); }
  int32_t end() const { return f(5); }
  double startCm = 0;  // derived
};

struct SpeedCheck1Row : IntRow<4> {
  double positionCm = 0;  // derived, of field 3
};

struct SpeedCheck2Row : IntRow<4> {
  double startCm = 0, endCm = 0;  // derived, of fields 3 and 4
};

struct SpeedUnitRow {
  int32_t start = 0;
  int32_t end = 0;  // exclusive
  double vStart = 0, vEnd = 0;  // filming speed, km/h
  double endDistanceCm = 0;     // derived: distance from the line's start to `end`
};

struct DopplerRow : IntRow<5> {
  double positionCm = 0;  // derived, of field 2
};

struct TunnelRow {
  int32_t entry = 0, exit = 0, level = 0;
  double entryCm = 0, exitCm = 0;  // derived
};

struct SignImage {  // [SignImageList] line: picture file, size
  std::string file;
  int32_t size = 0;
};

struct SignalImage {  // [SignalImageList] line
  int32_t x = 0, y = 0;  // line 1 only: screen offset added to the signal picture's position
  int32_t width = 0, height = 0;
  std::string file;
};

// One entry of the merged event list that the ATS pattern reads.
struct LineEvent {
  double distanceCm = 0;
  int32_t value = 0;
  int32_t index = 0;
  int32_t kind = 0;  // 2 signal, 3 station stop, 1 speed check or limit (the [SpeedLimit] kind)
};

struct LineData {
  std::string LineName, LineName2;
  int32_t StartPos = 0;
  int32_t FrameRate = 0;
  std::array<std::string, 3> Staf;
  Fixed Friction;
  std::vector<int32_t> StafSwitch;
  std::vector<int32_t> MovieStop;
  std::vector<MovieSwitchRow> MovieSwitch;
  std::vector<int32_t> Speed_Signal;
  std::string DataName;
  Perspective PerspectiveValues;
  PreTrain Pre_Train;
  int32_t OneMan = 0;
  std::vector<std::string> SoundData;
  MonitorSection Monitor;
  Announce AnnounceTable;
  std::array<std::string, 22> KankoSound1;
  std::vector<KankoSound2Row> KankoSound2;
  std::vector<IntRow<8>> Sound;
  std::vector<IntRow<3>> Sound2;
  std::vector<DopplerRow> Doppler;
  std::vector<TunnelRow> Tunnel;
  std::vector<IntRow<4>> Atten;
  int32_t TunnelR = 0;
  std::vector<StationRow> Station;
  std::vector<int32_t> StopSound;
  std::vector<SignalRow> Signal;
  std::vector<TrafficSignalRow> TrafficSignal;
  std::vector<SlopeRow> Slope;
  std::vector<IntRow<4>> Sign;
  std::vector<AnimRow> Anim;
  std::vector<IntRow<3>> SignalKanko;
  std::vector<IntRow<3>> StationKanko;
  std::vector<SpeedLimitRow> SpeedLimit;
  std::vector<SpeedCheck1Row> SpeedCheck1;
  std::vector<SpeedCheck2Row> SpeedCheck2;
  std::array<SignImage, 8> SignImageList;
  std::array<SignalImage, 4> SignalImageList;
  bool hasSignImageList = false, hasSignalImageList = false;
  std::vector<std::string> OtherKanko;
  std::vector<std::string> LimitKanko;
  std::vector<std::string> AnimImageList;
  std::vector<std::string> TrafficSignalImageList;
  std::vector<std::string> CrossImageList;
  std::vector<SpeedUnitRow> SpeedUnit;
  std::vector<IntRow<5>> Cross;
  std::vector<IntRow<3>> Time;
  std::vector<IntRow<2>> Switch;

  // Derived at set-up.
  std::vector<LineEvent> events;     // merged event list
  std::vector<int32_t> soundLengths;  // whole seconds of each [SoundData] file

  static constexpr size_t kStafSwitchCapacity = 10;
  static constexpr size_t kMovieStopCapacity = 100;
  static constexpr size_t kMovieSwitchCapacity = 100;
  static constexpr size_t kSpeedSignalCapacity = 11;
  static constexpr size_t kPreTrainCapacity = 999;
  static constexpr size_t kRowCapacity = 501;  // [SoundData], [Sound], [Station], [Signal] and most tables
  static constexpr size_t kAnnounceCapacity = 500;
  static constexpr size_t kKankoSound2Capacity = 479;
  static constexpr size_t kKankoListCapacity = 1000;  // [OtherKanko], [LimitKanko]
  static constexpr size_t kSpeedUnitCapacity = 100;
  static constexpr size_t kCrossCapacity = 1000;
  static constexpr size_t kTimeCapacity = 100;
  static constexpr size_t kSwitchCapacity = 1000;
  static constexpr size_t kImageListCapacity = 501;  // [AnimImageList], [TrafficSignalImageList], [CrossImageList]
};

}  // namespace kestrel
