// Seeded soak drives: an hour of drive time on every line x train of the quick demo, driven by a
// random script of every input kind the runner takes — keys, virtual keys, the wheel, the menus
// (pause, jumps, saves and restores, the checks, the controller kinds), serial bytes and
// game-controller states — and checked after every tick: every value finite, no pressure below
// zero, the handles within their ranges, the movie counters within the movie; at the end the drive
// closes cleanly. A failure prints its seed and the script it played (kestrel-run replays it).
//
//   KESTREL_SOAK_SEED=N    replay seed N (each pair adds its index); a random one otherwise
//   KESTREL_SOAK_HOURS=H   drive H hours instead of one
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <random>
#include <sstream>

#include "core/data/jump_menu.h"
#include "core/data/settings_loader.h"
#include "core/front/headless_drive.h"
#include "core/front/script_escapes.h"
#include "core/ports/memory_preference_store.h"
#include "platform/qt/qt_picture_loader.h"
#include "support/test_paths.h"
#include "tools/demo_files.h"
#include "tools/run/drive_runner.h"

namespace kestrel::run {
namespace {

struct Pair {
  const char* line;
  const char* train;
};

const Pair kPairs[] = {
    {"line_exp.dat", "train_313-1000_8cars.dat"},   {"line_exp.dat", "train_313-1000_10cars.dat"},
    {"line_exp.dat", "train_383.dat"},              {"line_exp.dat", "train_kiha25.dat"},
    {"line_rapid.dat", "train_313-1000_8cars.dat"}, {"line_rapid.dat", "train_313-1000_10cars.dat"},
    {"line_rapid.dat", "train_383.dat"},            {"line_rapid.dat", "train_kiha25.dat"},
    {"line_local.dat", "train_313-1000_8cars.dat"}, {"line_local.dat", "train_313-1000_10cars.dat"},
    {"line_local.dat", "train_383.dat"},            {"line_local.dat", "train_kiha25.dat"},
};

uint64_t baseSeed() {
  static const uint64_t seed = []() -> uint64_t {
    if (const char* s = std::getenv("KESTREL_SOAK_SEED")) return std::strtoull(s, nullptr, 10);
    return (uint64_t{std::random_device{}()} << 16) ^ std::random_device{}();
  }();
  return seed;
}

double soakHours() {
  const char* h = std::getenv("KESTREL_SOAK_HOURS");
  return h ? std::atof(h) : 1.0;
}

// A random script: one input every 0.1 to 6 s, mostly driving (power, brakes, the reverser),
// with every other kind mixed in. Only mt19937_64's own output is used, so a seed gives the same
// script with every compiler.
class ScriptMaker {
 public:
  ScriptMaker(uint64_t seed, const LoadedSession& loaded) : rng_(seed) {
    for (const JumpMenuEntry& e : jumpMenuEntries(loaded.line)) stations_.push_back(e.station);
    for (size_t i = 0; i < loaded.settings.mascon.size() && i < 23; ++i) commands_.push_back(loaded.settings.mascon[i]);
  }

  std::string make(int64_t durationMs) {
    lines_.clear();
    int64_t ms = 100;
    emit(ms, "key f");
    while (ms < durationMs) {
      ms += 100 + below(static_cast<uint32_t>(chance(10) ? 6000 : 1500));
      input(ms);
    }
    // Releases and second halves may fall after the next input.
    std::stable_sort(lines_.begin(), lines_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::ostringstream out;
    for (const auto& [at, action] : lines_)
      out << at / 1000 << "." << std::setw(3) << std::setfill('0') << at % 1000 << " " << action << "\n";
    return out.str();
  }

 private:
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }
  bool chance(uint32_t percent) { return below(100) < percent; }
  template <size_t N>
  const char* pick(const char* const (&items)[N]) {
    return items[below(N)];
  }
  void emit(int64_t ms, const std::string& action) { lines_.emplace_back(ms, action); }

  void input(int64_t ms) {
    static const char* const kDriving[] = {"8", "8", "8", "8", "2", "2", "5", "z", "a", ",", ".", "f", "f"};
    static const char* const kRare[] = {"0", "q", "/", "n", "b", "d", "7", "space", "r", "c",
                                        "1", "-", "9", "w", "t", "s", "e", "x", "k", "l"};
    static const char* const kVirtual[] = {"Enter",          "Backspace",      "Shift+Up",       "Shift+Down",
                                           "F1",             "F2",             "F3",             "Shift+F1",
                                           "Shift+F5",       "Shift+F6",       "Shift+F7",       "Shift+F8",
                                           "Shift+F9",       "Shift+F10",      "Shift+F11",      "Shift+F12",
                                           "PageUp",         "PageDown",       "ScrollLock"};
    const uint32_t kind = below(100);
    if (kind < 45) {
      emit(ms, std::string("key ") + pick(kDriving));
    } else if (kind < 55) {
      const std::string key = pick(kRare);
      emit(ms, "key " + key);
      if (key == "3" || key == "4") emit(ms + 200 + below(2000), "keyup " + key);
    } else if (kind < 58) {
      emit(ms, "key 3");
      emit(ms + below(3000), "keyup 3");
    } else if (kind < 63) {
      const std::string key = pick(kVirtual);
      emit(ms, "vkey " + key);
      // Scroll Lock exchanges "2" and "8" until pressed again: give it back soon.
      if (key == "ScrollLock") emit(ms + 50 + below(5000), "vkey ScrollLock");
      if (chance(50)) emit(ms + 50, "vkeyup " + key);
    } else if (kind < 70) {
      emit(ms, chance(60) ? "wheel down" : "wheel up");
    } else if (kind < 80) {
      menu(ms);
    } else if (kind < 90) {
      serial(ms);
    } else {
      pad(ms);
    }
  }

  void menu(int64_t ms) {
    static const char* const kToggles[] = {"callouts", "commentary", "stoplines", "textmode"};
    switch (below(7)) {
      case 0:
        emit(ms, "menu start");
        emit(ms + 100 + below(5000), "menu start");
        break;
      case 1:
        if (!stations_.empty() && chance(30))
          emit(ms, "menu jump " + std::to_string(stations_[below(static_cast<uint32_t>(stations_.size()))]));
        break;
      case 2:
        emit(ms, "menu save " + std::to_string(1 + below(3)));
        break;
      case 3:
        emit(ms, "menu load " + std::to_string(1 + below(3)));
        break;
      case 4:
        emit(ms, std::string("menu ") + pick(kToggles));
        break;
      default:
        emit(ms, "menu controller " + std::to_string(below(4)));
        break;
    }
  }

  // A command of the table (whole, split over two receive events, or cut off), or noise.
  void serial(int64_t ms) {
    std::string bytes;
    if (!commands_.empty() && chance(80)) bytes = commands_[below(static_cast<uint32_t>(commands_.size()))];
    if (bytes.empty()) {
      static const char* const kNoise[] = {"A", "Z", "0", "9", " ", "\n", "\x83\x65", "\x93\x64", "~", "-", "#"};
      for (uint32_t n = 1 + below(8); n > 0; --n) bytes += pick(kNoise);
    }
    const auto line = [](const std::string& part) { return "serial " + escapeScriptText(part, false); };
    const uint32_t how = below(10);
    if (how < 6) {
      emit(ms, line(bytes + "\r"));
    } else if (how < 8 && bytes.size() > 1) {
      const size_t cut = 1 + below(static_cast<uint32_t>(bytes.size() - 1));
      emit(ms, line(bytes.substr(0, cut)));
      emit(ms + 1, line(bytes.substr(cut) + "\r"));
    } else {
      emit(ms, line(bytes));  // no carriage return: it waits for the next command
    }
  }

  void pad(int64_t ms) {
    static const int kAxes[] = {0, 0, -3000, -8000, -15000, -25000, -32768, 500, 2000, 5000, 7000, 9000, 10000, 11500, 12500, 20000, 32767};
    std::string buttons;
    for (int b = 0; b < 16; ++b)
      if (chance(8)) buttons += (buttons.empty() ? "" : ",") + std::to_string(b);
    emit(ms, "pad " + std::to_string(kAxes[below(std::size(kAxes))]) + " " +
                 std::to_string(kAxes[below(std::size(kAxes))]) + " " + (buttons.empty() ? "-" : buttons));
  }

  std::mt19937_64 rng_;
  std::vector<int32_t> stations_;
  std::vector<std::string> commands_;
  std::vector<std::pair<int64_t, std::string>> lines_;
};

// What must hold after every tick; the first breach, described, or empty.
std::string breach(const CabSession& session, const LoadedSession& loaded) {
  const TrainState& t = session.train();
  const ControlState& c = session.control();
  std::ostringstream why;
  const std::pair<const char*, double> finite[] = {
      {"speed", t.speed},           {"distanceRun", t.distanceRun},   {"stopTarget", t.stopTarget},
      {"distanceToStop", t.distanceToStop}, {"bpPressure", t.bpPressure}, {"feedPressure", t.feedPressure},
      {"engineSpeed", t.engineSpeed}, {"elecBrakeCurrent", t.elecBrakeCurrent},
      {"gradientSampleAt", t.gradientSampleAt}};
  for (const auto& [name, value] : finite)
    if (!std::isfinite(value)) why << name << " is " << value << "; ";
  const std::pair<const char*, double> pressures[] = {
      {"bcMotor", t.bcMotor.toDouble()},   {"bcTrailer", t.bcTrailer.toDouble()}, {"erPressure", t.erPressure.toDouble()},
      {"bpPressure", t.bpPressure},        {"mrPressure", t.mrPressure.toDouble()}, {"sapPressure", t.sapPressure.toDouble()},
      {"feedPressure", t.feedPressure}};
  for (const auto& [name, value] : pressures)
    if (value < 0) why << name << " " << value << " kPa; ";
  const int32_t nB = session.constants().nB;
  const int32_t lowestBrake = loaded.vehicle.BrakeType == 0 ? -5 : -nB;
  const int32_t topNotch = std::max<int32_t>(loaded.vehicle.Power, static_cast<int32_t>(loaded.vehicle.Notch.size()));
  if (c.reverser < -1 || c.reverser > 1) why << "reverser " << c.reverser << "; ";
  if (c.powerHandle < 0 || c.powerHandle > topNotch) why << "powerHandle " << c.powerHandle << "; ";
  if (c.brakeHandle < lowestBrake || c.brakeHandle > 0) why << "brakeHandle " << c.brakeHandle << "; ";
  if (t.powerNotch < 0 || t.powerNotch > topNotch) why << "powerNotch " << t.powerNotch << "; ";
  if (t.brakeNotch < lowestBrake || t.brakeNotch > 0) why << "brakeNotch " << t.brakeNotch << "; ";
  switch (t.MovieMode) {
    case 0:
      if (t.movie.movieLastFrame > 0 && (t.MovieFrame < 0 || t.MovieFrame > t.movie.movieLastFrame))
        why << "MovieFrame " << t.MovieFrame << " outside 0.." << t.movie.movieLastFrame << "; ";
      break;
    case 1:
    case 2:
      if (t.SubFrame < 0 || t.SubFrame > t.movie.switchLimit)
        why << "SubFrame " << t.SubFrame << " outside 0.." << t.movie.switchLimit << "; ";
      break;
    case 9:
      break;
    default:
      why << "MovieMode " << t.MovieMode << "; ";
  }
  return why.str();
}

class SoakDrive : public ::testing::TestWithParam<size_t> {};

TEST_P(SoakDrive, RandomInputsForAnHourKeepEveryValueSoundAndTheDriveEndsCleanly) {
  const Pair& pair = kPairs[GetParam()];
  const uint64_t seed = baseSeed() + GetParam();
  const auto choice = SessionChoice::of(test::quickDemo(), pair.line, pair.train);

  MemoryPreferenceStore preferences;
  QtPictureLoader pictures;
  HeadlessSetup setup;
  setup.choice = choice;
  HeadlessDrive drive(setup, preferences, pictures);
  CabSession& session = drive.session();
  LoadedSession& loaded = drive.loaded();
  RecordingMixer& mixer = drive.mixer();

  const auto durationMs = static_cast<int64_t>(soakHours() * 3600 * 1000);
  const std::string script = ScriptMaker(seed, loaded).make(durationMs);
  auto parsed = parseDriveScript(script);
  ASSERT_TRUE(std::holds_alternative<std::vector<ScriptInput>>(parsed))
      << "seed " << seed << ": line " << std::get<ScriptError>(parsed).line << ": "
      << std::get<ScriptError>(parsed).message;

  // Where a failure leaves the script, for kestrel-run --script to replay.
  const auto scriptFile = test::scratchDir("soak_" + std::to_string(GetParam())) / (std::to_string(seed) + ".txt");
  const auto replay = [&] {
    std::ofstream(scriptFile) << script;
    return "seed " + std::to_string(seed) + " (KESTREL_SOAK_SEED=" + std::to_string(baseSeed()) +
           "); replay: kestrel-run --data " + choice.programDirectory.string() + " --line " + pair.line +
           " --train " + pair.train + " --script " + scriptFile.string() +
           " --duration " + std::to_string(durationMs / 1000);
  };
  std::string first;
  int64_t ticks = 0;
  const auto check = [&] {
    ++ticks;
    if (!first.empty()) return;
    const std::string why = breach(session, loaded);
    if (!why.empty()) first = "at " + formatSeconds(session.scheduler().now()) + " s: " + why;
  };
  std::ostringstream messages;
  const DriveResult result =
      playDrive(drive.door(), std::get<std::vector<ScriptInput>>(parsed), durationMs * 1000, {nullptr, check, &messages});

  EXPECT_EQ(first, "") << replay();
  EXPECT_EQ(result.virtualUs, durationMs * 1000) << replay();
  EXPECT_GT(ticks, durationMs / 100 / 2) << "the drive was paused most of the time; " << replay();
  EXPECT_TRUE(session.close()) << replay();
  for (int ch = 0; ch < Mixer::kChannelCount; ++ch) ASSERT_FALSE(mixer.isPlaying(ch)) << "channel " << ch << "; " << replay();
  writePreferences(preferences, loaded.settings.preferences);
  std::cout << pair.line << " x " << pair.train << ": seed " << seed << ", " << summaryLine(result) << "\n";
}

INSTANTIATE_TEST_SUITE_P(QuickDemo, SoakDrive, ::testing::Range<size_t>(0, std::size(kPairs)),
                         [](const ::testing::TestParamInfo<size_t>& param) {
                           std::string name = std::string(kPairs[param.param].line) + "_" + kPairs[param.param].train;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

}  // namespace
}  // namespace kestrel::run
