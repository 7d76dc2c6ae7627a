// The restore of a saved drive on a running session: every reset in its order's effect, the
// handles by the saved speed, the refusals that change nothing, and saving with its messages.
#include "core/front/drive_restore.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/front/jump_targets.h"
#include "core/ports/memory_preference_store.h"
#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

constexpr const char* kKey = "Software\\Railvane\\kestrel";

struct RestoreTest : ::testing::Test {
  test::DriveRig rig;
  MemoryPreferenceStore prefs;
  std::unique_ptr<CabSession> session;

  void SetUp() override {
    rig.line.LineName2 = "快速";
    rig.line.Station = {test::stationRow({"A", 0, 100, 10000}), test::stationRow({"B", 1, 3100, 110000}),
                        test::stationRow({"C", 0, 6100, 210000}), test::stationRow({"D", 0, 12100, 410000}),
                        test::stationRow({"E", 0, 15100, 510000})};
    rig.line.soundLengths = {2, 5};
    // The session's own sprites come from the catalog.
    rig.pictures.put(
        {"img_Lamp_Door", "door.bmp", nullptr, true, 0, 0, 0, 49, 8, 4, 0, 0, false, 255, false});
    rig.pictures.put({"img_unten_teimoku", "teimoku.bmp", nullptr, true, 0, 0, 0, 100, 8, 4});
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
        rig.program);
    rig.mixer.setClock([this] { return session->scheduler().now(); });
    session->start();
  }
  TrainState& train() { return const_cast<TrainState&>(session->train()); }
  void putSlot(int slot, const std::string& text) { prefs.set(kKey, "Save" + std::to_string(slot), text); }
  std::optional<std::string_view> restore(int slot, const std::string& line = "line_rapid.dat") {
    return restoreDriveFromSlot(prefs, *session, line, slot);
  }
};

TEST_F(RestoreTest, TheTrainIsPutBackWithTheHandlesAtRestAndEveryPositionValueReset) {
  // A drive in full swing somewhere else.
  session->scheduler().advanceBy(2000000);
  TrainState& t = train();
  auto& c = const_cast<ControlState&>(session->control());
  t.speed = 20;
  c.powerHandle = 2;
  t.powerNotch = 2;
  t.doorsOpen = true;
  t.doorsCommandedOpen = true;
  t.stations.visits.assign(5, {true, true, true, true, true});
  t.stations.runEnded = true;
  t.checkSpeed = 45;
  t.MovieMode = 0;
  t.MovieDirection = 1;
  rig.addWave(0, 60000000);
  rig.addWave(6, 60000000);
  rig.mixer.playLooped(0);
  rig.mixer.playLooped(6);

  putSlot(1, "line_rapid.dat,2,86,7000,1085000,250000,9100");
  ASSERT_EQ(restore(1), std::nullopt);
  EXPECT_EQ(t.speed, 86);
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(t.powerNotch, 0);
  EXPECT_EQ(c.brakeHandle, 0);  // moving: brakes released
  EXPECT_EQ(t.brakeNotch, 0);
  EXPECT_EQ(t.sapNotch, 0);
  EXPECT_EQ(t.MovieFrame, 7000);
  EXPECT_EQ(t.LastShownFrame, 6999);
  EXPECT_EQ(t.TickCounter, 1085000);
  EXPECT_EQ(t.preTrain.preTrainFrame, 9100);
  EXPECT_EQ(t.stations.currentStation, 2);
  EXPECT_EQ(t.distanceRun, 250000);  // kept: no [SpeedUnit] row was in use before the lookup
  EXPECT_EQ(t.stations.nextStopStation, 3);
  EXPECT_EQ(t.stopTarget, 410000);
  EXPECT_EQ(t.distanceToStop, 160000);
  EXPECT_EQ(rig.keys.announceIndex, 0);                 // the rig's keys are not the session's
  EXPECT_EQ(session->context().keys.announceIndex, 3);  // one type-0 station (A) before C: 2 x 1 + 1
  EXPECT_EQ(t.frameRow, 0);
  EXPECT_EQ(t.UnitsPerFrame, 36);
  EXPECT_EQ(t.MovieDirection, 0);
  EXPECT_EQ(t.checkSpeed, 999);
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_FALSE(t.doorsCommandedOpen);
  EXPECT_TRUE(session->sprites().find("img_Lamp_Door")->visible);
  EXPECT_FALSE(session->sprites().find("img_unten_teimoku")->visible);
  // The stops behind the train (A, C) count as made and left; the passing station B and the stops
  // ahead start afresh.
  for (size_t i = 0; i < t.stations.visits.size(); ++i) {
    const StationVisit& v = t.stations.visits[i];
    const bool behind = i == 0 || i == 2;
    EXPECT_EQ(v.visited && v.arrived && v.departureReady && v.passedDoors, behind) << i;
    EXPECT_EQ(v.visited || v.arrived || v.departureReady, behind) << i;
  }
  EXPECT_FALSE(t.stations.runEnded);
  EXPECT_TRUE(rig.mixer.isPlaying(0));  // channel 0 plays on
  EXPECT_FALSE(rig.mixer.isPlaying(6));
  EXPECT_EQ(session->control().brakeText, session->context().settings.Neut);  // masconupdate ran
}

TEST_F(RestoreTest, AStandingTrainGetsTheHighestServiceStepAndTwoRestoresGiveOneState) {
  // Saved at 0.4 km/h: stored as 0, restored with the brake at 1 - nB.
  train().speed = 0.4;
  train().distanceRun = 110000;
  ASSERT_EQ(saveDriveToSlot(prefs, *session, rig.line, "line_rapid.dat", 3), "運転状態を保存しました");
  EXPECT_EQ(prefs.get(kKey, "Save3Title"), MemoryPreferenceStore::Value(std::string("快速（B～C）")));
  ASSERT_EQ(restore(3), std::nullopt);
  EXPECT_EQ(session->train().speed, 0);
  EXPECT_EQ(session->control().brakeHandle, -7);
  EXPECT_EQ(session->train().brakeNotch, -7);

  session->scheduler().advanceBy(1000000);
  ASSERT_EQ(restore(3), std::nullopt);
  const TrainState first = session->train();
  ASSERT_EQ(restore(3), std::nullopt);
  const TrainState& second = session->train();
  EXPECT_EQ(second.MovieFrame, first.MovieFrame);
  EXPECT_EQ(second.TickCounter, first.TickCounter);
  EXPECT_EQ(second.distanceRun, first.distanceRun);
  EXPECT_EQ(second.stopTarget, first.stopTarget);
  EXPECT_EQ(second.frameRow, first.frameRow);
  EXPECT_EQ(second.brakeNotch, first.brakeNotch);

  // Standing at the platform of the last station visited (C), the train arrives there anew.
  putSlot(3, "line_rapid.dat,2,0,6100,1085000,210000,0");
  ASSERT_EQ(restore(3), std::nullopt);
  const auto& visits = session->train().stations.visits;
  EXPECT_TRUE(visits[0].departureReady);
  EXPECT_FALSE(visits[2].visited || visits[2].arrived || visits[2].departureReady);
}

TEST_F(RestoreTest, RefusedSlotsChangeNothing) {
  session->scheduler().advanceBy(3000000);
  const TrainState before = session->train();
  EXPECT_EQ(restore(2), "運転状態が保存されていません");
  putSlot(2, "line_rapid.dat,2,86,7000,1085000,250000,9100");
  EXPECT_EQ(restore(2, "line_local.dat"), "運転状態を保存したダイヤではありません");
  // The last field does not convert: nothing of the slot is used, not even its speed or frame.
  putSlot(2, "line_rapid.dat,2,86,7000,1085000,250000,x");
  EXPECT_EQ(restore(2), "運転状態のデータに誤りがあります");
  // Numbers that no drive on this line can have: a sixth station of five.
  putSlot(2, "line_rapid.dat,5,86,7000,1085000,250000,9100");
  EXPECT_EQ(restore(2), "運転状態のデータに誤りがあります");
  const TrainState& after = session->train();
  EXPECT_EQ(after.speed, before.speed);
  EXPECT_EQ(after.MovieFrame, before.MovieFrame);
  EXPECT_EQ(after.TickCounter, before.TickCounter);
  EXPECT_EQ(after.stations.currentStation, before.stations.currentStation);
  EXPECT_EQ(after.LastShownFrame, before.LastShownFrame);
  EXPECT_EQ(session->control().brakeHandle, -8);
}

TEST_F(RestoreTest, TheJumpTargetsAreTheStopsAndThePlacesSavedForThisLine) {
  putSlot(1, "line_rapid.dat,2,86,7000,1085000,250000,9100");
  putSlot(2, "line_local.dat,2,86,8000,1085000,250000,9100");  // another line's
  putSlot(3, "line_rapid.dat,5,86,9000,1085000,250000,9100");  // faulty: a sixth station of five
  EXPECT_EQ(jumpTargetFrames(rig.line, prefs, "line_rapid.dat"), (std::vector<int>{100, 3100, 6100, 7000, 12100, 15100}));
  putSlot(3, "line_rapid.dat,1,0,3100,1085000,110000,0");  // at B's stop: once
  EXPECT_EQ(jumpTargetFrames(rig.line, prefs, "line_rapid.dat"), (std::vector<int>{100, 3100, 6100, 7000, 12100, 15100}));
}

TEST_F(RestoreTest, SavingReportsAStoreThatCannotBeWritten) {
  train().speed = 85.5;
  ASSERT_EQ(saveDriveToSlot(prefs, *session, rig.line, "line_rapid.dat", 1), "運転状態を保存しました");
  EXPECT_EQ(prefs.get(kKey, "Save1"),
            MemoryPreferenceStore::Value(std::string("line_rapid.dat,0,86,0,") +
                                         std::to_string(session->train().TickCounter) +
                                         ",10000,0"));  // at A's stop
  prefs.failWrites(true);
  EXPECT_EQ(saveDriveToSlot(prefs, *session, rig.line, "line_rapid.dat", 2),
            "運転状態を保存できませんでした");
  prefs.failWrites(false);
  prefs.failOpen(kKey);
  EXPECT_EQ(saveDriveToSlot(prefs, *session, rig.line, "line_rapid.dat", 2),
            "運転状態を保存できませんでした");
}

}  // namespace
}  // namespace kestrel
