// The call-out queue on the recording mixer: slots, one clip per tick, the switch, playing
// errors, the time call-out bands, the signal and station tables, and the call-out key's cases.
#include "core/present/callout_queue.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "support/drive_rig.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

template <int N>
IntRow<N> row(std::initializer_list<int32_t> values) {
  IntRow<N> r;
  int i = 1;
  for (int32_t v : values) r.f(i++) = v;
  return r;
}

struct CalloutTest : ::testing::Test {
  test::DriveRig rig;
  CalloutQueue queue;
  std::map<WaveId, std::string> names;  // wave -> "clip 7", "other 1", "limit 0"
  // 70 vehicle sounds and nothing else: the call-out channel is 71.
  static constexpr int kChannel = 71;

  CalloutTest() {
    rig.line.KankoSound2 = {{"ks2a.wav", 0}, {"ks2b.wav", 1}};
    rig.rebuild();
    CalloutClips clips;
    for (int n = 0; n < 24; ++n) clips.table.push_back(wave("clip " + std::to_string(n), 1000000));
    for (int n = 0; n < 2; ++n) clips.other.push_back(wave("other " + std::to_string(n), 1000000));
    clips.limit = {wave("limit 0", 1000000), kNoWave, wave("limit 2", 1000000)};
    queue.setClips(clips);
    queue.attach(rig.c());
    rig.train.TickCounter = 100000;
  }
  WaveId wave(const std::string& name, int64_t us) {
    const WaveId w = rig.mixer.registerWave(name, us);
    names[w] = name;
    return w;
  }
  std::vector<std::string> queued() const {
    std::vector<std::string> out;
    for (WaveId w : queue.slots())
      if (w != kNoWave) out.push_back(names.at(w));
    return out;
  }
  // What the channel was given to play, in order.
  std::vector<std::string> played() const {
    std::vector<std::string> out;
    const auto sets = rig.mixer.operationsOn(kChannel, Op::SetWave);
    for (const auto& op : sets) out.push_back(names.at(static_cast<WaveId>(op.value)));
    return out;
  }
  void tick(double seconds = 0.1) {
    queue.kanko_queue_play();
    rig.nowUs += static_cast<int64_t>(seconds * 1e6);
  }
  using Strings = std::vector<std::string>;
};

TEST_F(CalloutTest, TheThirteenthClipQueuedInOneTickIsDropped) {
  for (int n = 0; n < 13; ++n) queue.kanko_queue_add(n);
  ASSERT_EQ(queue.size(), 12u);
  EXPECT_EQ(queued().back(), "clip 11");
}

TEST_F(CalloutTest, ClipsPlayOneAfterTheOtherOnTheCalloutChannel) {
  queue.kanko_queue_add(3);
  queue.kanko_queue_add(4);
  tick();
  EXPECT_TRUE(rig.mixer.isPlaying(kChannel));
  for (int i = 0; i < 9; ++i) tick();  // 1 s: the first clip plays to its end
  EXPECT_EQ(played(), (Strings{"clip 3"}));
  tick();
  EXPECT_EQ(played(), (Strings{"clip 3", "clip 4"}));
  EXPECT_EQ(queued(), (Strings{"clip 4"}));
  for (int i = 0; i < 11; ++i) tick();
  EXPECT_EQ(queue.size(), 0u);
  EXPECT_FALSE(queue.playing());
  EXPECT_EQ(rig.mixer.operationsOn(kChannel, Op::PlayOnce).size(), 2u);
}

TEST_F(CalloutTest, ClipsNotLoadedQueueNothing) {
  queue.kanko_queue_add(30);  // beyond the table
  queue.kanko_queue_add(-1);
  EXPECT_EQ(queue.size(), 0u);
}

TEST_F(CalloutTest, SwitchedOffTheQueueDrainsSilentlyOneClipPerTick) {
  rig.settings.preferences.CalloutsOff = 1;
  for (int n : {1, 2, 3}) queue.kanko_queue_add(n);
  tick();
  tick();
  EXPECT_EQ(queued(), (Strings{"clip 2", "clip 3"}));
  EXPECT_EQ(rig.mixer.operationsOn(kChannel, Op::PlayOnce).size(), 0u);
  rig.settings.preferences.CalloutsOff = 0;  // the menu is read as it stands
  tick();
  EXPECT_EQ(rig.mixer.operationsOn(kChannel, Op::PlayOnce).size(), 1u);
  EXPECT_EQ(played(), (Strings{"clip 1", "clip 2", "clip 3"}));
}

// A mixer whose play fails, as a sound device might.
class FailingMixer final : public Mixer {
 public:
  WaveId loadWave(const std::filesystem::path&) override { return 0; }
  void freeAllWaves() override {}
  void setWave(int, WaveId) override {}
  bool hasWave(int) const override { return true; }
  void playOnce(int) override {
    if (fail) throw std::runtime_error("device lost");
    ++plays;
  }
  void playLooped(int) override {}
  void stop(int) override {}
  bool isPlaying(int) const override { return false; }
  bool isLooping(int) const override { return false; }
  void setFrequencyRatio(int, double) override {}
  void setVolume(int, int) override {}
  int volume(int) const override { return 0; }
  bool reinitialise() override { return true; }
  bool fail = true;
  int plays = 0;
};

TEST_F(CalloutTest, APlayingErrorIsReportedAndTheClipTriedAgain) {
  FailingMixer mixer;
  DriveContext ctx{rig.settings, rig.vehicle, rig.panel,   rig.line, rig.constants, rig.train, rig.control,
                   rig.keys,     rig.program, rig.sprites, mixer,    rig.random,    queue};
  queue.attach(ctx);
  std::vector<std::string> messages;
  queue.setMessageSink([&](const std::string& m) { messages.push_back(m); });
  queue.kanko_queue_add(5);
  queue.kanko_queue_play();
  EXPECT_EQ(messages, (Strings{"喚呼の再生エラー"}));
  EXPECT_FALSE(queue.playing());
  EXPECT_EQ(queue.size(), 1u);
  mixer.fail = false;
  queue.kanko_queue_play();
  EXPECT_EQ(mixer.plays, 1);
  EXPECT_TRUE(queue.playing());
}

TEST_F(CalloutTest, TimeCalloutBands) {
  struct Case {
    int offset;  // scheduled time - TickCounter, 1/30 s
    int kind;
    Strings clips;
  };
  const std::vector<Case> cases = {
      {-300, 1, {"clip 18"}},             // 10 s ago: on time
      {450, 0, {"clip 17"}},              // 15 s early is still on time
      {-1200, 0, {"clip 7", "clip 13"}},  // 40 s late
      {-451, 1, {"clip 6", "clip 14"}},   // just over 15 s late
      {1200, 0, {"clip 7", "clip 15"}},   // 40 s early
      {3600, 1, {"clip 12", "clip 16"}},  // two minutes early
      {2250, 1, {"clip 9", "clip 16"}},
      {-3150, 0, {"clip 11", "clip 13"}},
      {3601, 0, {}},
      {5400, 1, {}},  // 3 minutes early
  };
  for (const Case& c : cases) {
    queue.clear();
    queue.Timekanko(100000 + c.offset, c.kind);
    EXPECT_EQ(queued(), c.clips) << "offset " << c.offset << " kind " << c.kind;
  }
}

TEST_F(CalloutTest, TimeCheckCallsOutTheTimeRowsHoldingTheTrain) {
  rig.line.Time = {row<3>({100, 500, 100000 - 1200}), row<3>({400, 900, 100000}), row<3>({500, 900, 0})};
  rig.train.MovieFrame = 450;
  queue.Timecheck(0);
  EXPECT_EQ(queued(), (Strings{"clip 7", "clip 14", "clip 18"}));
  EXPECT_EQ(rig.train.callout.timeChecked, (std::vector<bool>{true, true, false}));
  queue.clear();
  queue.Timecheck(1);
  EXPECT_EQ(queue.size(), 0u);
}

struct SignalCalloutTest : CalloutTest {
  SignalCalloutTest() {
    SignalRow a, b;
    a.field[5] = 0;
    a.field[6] = 1000;
    b.field[5] = 1000;
    b.field[6] = 2000;
    rig.line.Signal = {a, b};
    rig.line.SignalKanko = {row<3>({1, 0, 8}), row<3>({1, 2, 9}), row<3>({1, 1, 100000 - 1200}),
                            row<3>({1, 1, 999}), row<3>({0, 2, 10})};
    rig.train.MovieFrame = 1500;  // in the approach of signal 1
  }
};

TEST_F(SignalCalloutTest, SignalRowsOfEachKindAreCalledOutOncePerSignal) {
  EXPECT_EQ(currentSignalRow(rig.line, 1500), 1);
  EXPECT_EQ(currentSignalRow(rig.line, 2000), -1);
  queue.kanko_add(1);
  EXPECT_EQ(queued(), (Strings{"clip 8"}));
  queue.kanko_add(2);  // kind 2, then kind 1: a clip or a time; 999 is the key being served
  EXPECT_EQ(queued(), (Strings{"clip 8", "clip 9", "clip 7", "clip 13"}));
  queue.clear();
  queue.kanko_add(1);
  queue.kanko_add(2);
  EXPECT_EQ(queue.size(), 0u);
  rig.train.callout.clearSignalMarkers();  // skip to the next signal, restore: pending again
  queue.kanko_add(1);
  EXPECT_EQ(queued(), (Strings{"clip 8"}));
}

TEST_F(SignalCalloutTest, CalloutKeyCallsOutTheSignalAheadWithItsExtraClip) {
  rig.train.currentCode = 4;  // caution
  queue.calloutKey();
  // [KankoSound2] row 1 belongs to signal 1: its kind-0 rows, the row's clip, the aspect, then
  // the kind-2 and kind-1 rows.
  EXPECT_EQ(queued(), (Strings{"clip 8", "clip 23", "clip 2", "clip 9", "clip 7", "clip 13"}));
  queue.clear();
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"clip 23", "clip 2"}));
  queue.clear();
  rig.train.currentCode = 999;  // within 15 frames of the signal: nothing to call out
  queue.calloutKey();
  rig.train.currentCode = 35;  // a cab-signal code
  queue.calloutKey();
  EXPECT_EQ(queue.size(), 0u);
}

TEST(AspectClip, CodesMapToTheFixedClips) {
  EXPECT_EQ(aspectClip(1), 0);
  EXPECT_EQ(aspectClip(30), 0);
  EXPECT_EQ(aspectClip(22), 1);
  EXPECT_EQ(aspectClip(31), 2);
  EXPECT_EQ(aspectClip(24), 3);
  EXPECT_EQ(aspectClip(33), 4);
  EXPECT_EQ(aspectClip(2), 5);
  EXPECT_EQ(aspectClip(34), 21);
  EXPECT_EQ(aspectClip(32), -1);
  EXPECT_EQ(aspectClip(0), -1);
}

TEST_F(CalloutTest, CalloutKeyPrefersTheDueTimeCheckAndDoesNotRepeatIt) {
  rig.line.Time = {row<3>({100, 500, 100000 - 300})};
  rig.train.MovieFrame = 300;
  rig.train.currentCode = 4;
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.dueNumber, CalloutState::kTimeCheck);
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"clip 18"}));
  updateCalloutTriggers(rig.c());  // checked: no longer due, the key calls the signal
  EXPECT_EQ(rig.train.callout.dueNumber, CalloutState::kNone);
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"clip 18", "clip 2"}));
}

TEST_F(CalloutTest, CalloutKeyPlaysADueFurtherCalloutOnce) {
  rig.train.callout.dueNumber = 1;
  queue.calloutKey();
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"other 1"}));
  rig.train.callout.dueNumber = 5;  // no such clip: not due, the signal is called instead
  rig.train.currentCode = 1;
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"other 1", "clip 0"}));
}

TEST_F(CalloutTest, LimitCalloutAheadWithinBrakingDistanceWhileMoving) {
  SpeedLimitRow limit;
  limit.field = {0, 45, 3, 1, 5000, 6000, 0};  // post pattern 3: [LimitKanko] clip 2
  limit.startCm = 50000;
  rig.line.SpeedLimit = {limit};
  rig.train.speed = 80;
  rig.train.distanceRun = 50000 - 28400;  // 80 -> 45 km/h needs 28300 cm
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.limitRequests, (std::array<int32_t, 2>{-1, -1}));
  rig.train.distanceRun = 50000 - 28200;
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.limitRequests[0], 2);
  queue.calloutKey();
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"limit 2"}));

  rig.train.speed = 0.4;  // standing: the signal is called out instead
  rig.train.currentCode = 1;
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"limit 2", "clip 0"}));

  // In the limit; once past it nothing is due and the mark is forgotten.
  rig.train.speed = 40;
  rig.train.distanceRun = 60000;
  rig.train.MovieFrame = 5500;
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.limitRequests, (std::array<int32_t, 2>{-1, 2}));
  rig.train.MovieFrame = 6000;
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.lastPlayedMark, CalloutState::kNoMark);
}

TEST_F(CalloutTest, CrossingsPendingInTheirRangeAreCalledOutOnTheMove) {
  rig.line.Cross = {row<5>({100, 600, 1, 22, 600}), row<5>({300, 700, 1, 23, 700})};
  rig.train.speed = 50;
  rig.train.currentCode = 3;
  rig.train.MovieFrame = 350;
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.crossingPending, (std::vector<int32_t>{0, 1}));
  queue.calloutKey();
  queue.calloutKey();
  queue.calloutKey();  // none pending: the signal
  EXPECT_EQ(queued(), (Strings{"clip 22", "clip 23", "clip 4"}));
  EXPECT_EQ(rig.train.callout.crossingMarker(), -1);

  rig.train.MovieFrame = 650;  // still in the second range: not pending again
  updateCalloutTriggers(rig.c());
  EXPECT_TRUE(rig.train.callout.crossingPending.empty());

  rig.train.MovieFrame = 200;  // entered again: pending, but left before the key
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.crossingPending, (std::vector<int32_t>{0}));
  rig.train.MovieFrame = 90;
  updateCalloutTriggers(rig.c());
  EXPECT_TRUE(rig.train.callout.crossingPending.empty());

  resetCallouts(rig.c());  // a restore: the next tick refills the list for the new frame
  EXPECT_TRUE(rig.train.callout.crossingPending.empty());
  rig.train.MovieFrame = 650;
  updateCalloutTriggers(rig.c());
  EXPECT_EQ(rig.train.callout.crossingPending, (std::vector<int32_t>{1}));
  rig.train.speed = 0;  // standing: the signal comes first
  queue.clear();
  queue.calloutKey();
  EXPECT_EQ(queued(), (Strings{"clip 4"}));
}

struct StationCalloutTest : CalloutTest {
  StationCalloutTest() {
    rig.line.StationKanko = {
        row<3>({2, 4, 22}), row<3>({2, 4, 100000}), row<3>({2, 0, 1}),   row<3>({2, 1, 100000 - 1200}),
        row<3>({2, 2, 5}),  row<3>({2, 3, 6}),      row<3>({2, 5, 999}), row<3>({3, 0, 9})};
    rig.train.stations.currentStation = 2;
    rig.train.currentCode = 1;
  }
};

TEST_F(StationCalloutTest, EachTypePlaysTheRowsOfItsKind) {
  const std::vector<std::pair<int, Strings>> cases = {
      {0, {"clip 22"}},            // the stand: clips only
      {1, {"clip 1"}},             // doors opened
      {2, {"clip 7", "clip 13"}},  // departure sound: a time row
      {3, {"clip 5"}},             // doors closed: the door rule queues clip 19 before
      {4, {"clip 20", "clip 6"}},  // first notch
      {5, {"clip 0"}},             // 999: the call-out key, here the stop signal
  };
  for (const auto& [type, clips] : cases) {
    queue.clear();
    queue.StationKanko(type);
    EXPECT_EQ(queued(), clips) << "type " << type;
  }
}

TEST_F(StationCalloutTest, TheStopArmsTheFirstNotchCallout) {
  queue.StationKanko(2);
  EXPECT_FALSE(rig.train.departureCalloutRequest);
  queue.StationKanko(1);
  EXPECT_TRUE(rig.train.departureCalloutRequest);
  rig.train.departureCalloutRequest = false;
  queue.StationKanko(0);
  EXPECT_TRUE(rig.train.departureCalloutRequest);

  // masconupdate turns the request into a due call-out; the tick's stage plays it.
  queue.clear();
  rig.train.departureCalloutDue = true;
  queue.runTick();
  EXPECT_FALSE(rig.train.departureCalloutDue);
  EXPECT_EQ(played(), (Strings{"clip 20"}));
  EXPECT_EQ(queued(), (Strings{"clip 20", "clip 6"}));
}

TEST_F(StationCalloutTest, ResetForANewPositionClearsTheCalloutState) {
  CalloutState& c = rig.train.callout;
  c.signalMarkers = {1, 2, 3};
  c.dueNumber = 1;
  c.limitRequests = {0, 0};
  c.lastPlayedMark = 5;
  rig.train.departureCalloutRequest = true;
  rig.line.Time = {row<3>({0, 10, 0})};
  c.timeChecked = {true};
  resetCallouts(rig.c());
  EXPECT_EQ(c.signalMarkers, (std::array<int32_t, 3>{999, 999, 999}));
  EXPECT_EQ(c.dueNumber, 999);
  EXPECT_FALSE(c.anyLimitRequest());
  EXPECT_EQ(c.lastPlayedMark, CalloutState::kNoMark);
  EXPECT_FALSE(rig.train.departureCalloutRequest);
  EXPECT_EQ(c.timeChecked, (std::vector<bool>{false}));
}

}  // namespace
}  // namespace kestrel
