// The door of a drive: what arrives through it is recorded with its drive time, the game
// controller's changes just before the tick that read them, a restore with the slot it read; and
// the recording played back through a door meets a fresh drive exactly as the first.
#include "core/front/drive_door.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "core/front/script_player.h"
#include "support/door_rig.h"
#include "support/fake_gamepad.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

// A drive through its door, with the state after every tick written down.
struct Drive : test::DoorRig {
  std::vector<std::string> ticks;

  Drive() : DoorRig([](test::DriveRig& r) { r.settings.mascon = {"MCP01", "MCP02"}; }) {
    session->setTickObserver([this] {
      std::ostringstream s;
      s << session->scheduler().now() << " " << session->train().speed << " " << session->train().MovieFrame << " "
        << session->control().powerHandle << " " << session->control().brakeHandle << " "
        << session->running();
      ticks.push_back(s.str());
    });
    session->start();
  }
};

TEST(DriveDoor, ADriveRecordedAtTheDoorReplaysTickForTick) {
  Drive live;
  std::vector<ScriptInput> recorded;
  live.door->setRecorder([&](const ScriptInput& in) { recorded.push_back(in); });
  test::FakeGamepad pad;
  live.door->setLiveGamepad(&pad);

  live.runTo(150000);
  live.door->deliver(live.input("key 5"));
  live.door->deliver(live.input("wheel down"));
  live.door->deliver(live.input("menu controller 1"));  // the game controller polled from now on
  live.runTo(420000);
  pad.set(0, -6000);  // power 2, read by the tick at 0.5 s
  live.runTo(1234567);
  live.door->deliver(live.input("menu start"));  // paused at a time of the wall clock ...
  live.runTo(2000001);
  live.door->deliver(live.input("menu start"));  // ... and the ticks go on from the resume
  live.door->deliver(live.input("menu controller 0"));
  live.door->deliver(live.input("serial MCP01\\r"));
  live.runTo(9000000);
  live.door->deliver(live.input("end"));

  // Each input with the drive time it arrived at; the controller's change just before its tick.
  ASSERT_EQ(recorded.size(), 9u);
  EXPECT_EQ(formatScriptInput(recorded[0]), "0.150000 key 5");
  EXPECT_EQ(formatScriptInput(recorded[3]), "0.499999 pad 0 -6000 -");
  EXPECT_EQ(formatScriptInput(recorded[4]), "1.234567 menu start");
  EXPECT_EQ(formatScriptInput(recorded[5]), "2.000001 menu start");
  EXPECT_EQ(formatScriptInput(recorded[7]), "2.000001 serial MCP01\\r");
  EXPECT_EQ(recorded[8].kind, ScriptInput::Kind::End);

  Drive replay;
  ScriptPlayer player(*replay.door, recorded);
  player.runTo(9000000);
  EXPECT_TRUE(player.ended());
  ASSERT_GT(live.ticks.size(), 80u);
  EXPECT_EQ(replay.ticks, live.ticks);
  EXPECT_EQ(replay.session->control().powerHandle, 1);
}

TEST(DriveDoor, ARestoreIsRecordedWithTheSlotItReadAndReplaysWithoutTheStore) {
  Drive live;
  std::vector<ScriptInput> recorded;
  live.door->setRecorder([&](const ScriptInput& in) { recorded.push_back(in); });
  live.door->deliver(live.input("key 5"));
  live.door->deliver(live.input("key 8"));
  live.runTo(20000000);
  EXPECT_EQ(live.door->deliver(live.input("menu save 1")), "運転状態を保存しました");
  live.runTo(30000000);
  EXPECT_EQ(live.door->deliver(live.input("menu load 1")), std::nullopt);
  EXPECT_EQ(live.door->deliver(live.input("menu load 2")), "運転状態が保存されていません");
  live.runTo(31000000);
  ASSERT_EQ(recorded.size(), 5u);
  ASSERT_TRUE(recorded[3].slotText);
  EXPECT_EQ(recorded[3].slotText->rfind("line.dat,", 0), 0u) << *recorded[3].slotText;
  EXPECT_EQ(recorded[4].slotText, "");

  Drive replay;  // its store holds no slot
  ScriptPlayer player(*replay.door, recorded);
  player.runTo(31000000);
  EXPECT_EQ(replay.ticks, live.ticks);
}

TEST(DriveDoor, TheMovieReaderIsToldWhereJumpsLandAgainAfterASave) {
  test::DoorRig drive([](test::DriveRig& r) {
    r.line.Station = {test::stationRow({"A", 0, 3100, 110000}), test::stationRow({"B", 1, 100, 10000})};
  });
  EXPECT_EQ(drive.movieLog.entries, (std::vector<std::string>{"ready 100 3100"}));
  drive.session->start();
  drive.movieLog.entries.clear();
  const_cast<TrainState&>(drive.session->train()).MovieFrame = 2000;
  EXPECT_EQ(drive.door->deliver(drive.input("menu save 2")), "運転状態を保存しました");
  EXPECT_EQ(drive.movieLog.entries, (std::vector<std::string>{"ready 100 2000 3100"}));
}

TEST(DriveDoor, WhileARecordingPlaysTheDriversOwnInputsAreDropped) {
  Drive d;
  d.door->setReplaying(true);
  d.door->driverInput(d.input("key 5"));
  EXPECT_EQ(d.session->control().brakeHandle, -8);
  d.door->deliver(d.input("key 5"));
  EXPECT_EQ(d.session->control().brakeHandle, 0);
}

}  // namespace
}  // namespace kestrel
