// Playing a script on a cab session: input timing against the events, posted characters, pause,
// the trace rows, the end of the drive.
#include "tools/run/drive_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/door_rig.h"

namespace kestrel::run {
namespace {

struct DriveRunnerTest : ::testing::Test {
  test::DoorRig drive;
  CabSession* session = drive.session.get();
  DriveDoor* door = drive.door.get();

  std::vector<ScriptInput> script(std::string_view text) {
    return std::get<std::vector<ScriptInput>>(parseDriveScript(text));
  }
};

TEST_F(DriveRunnerTest, InputsArriveAfterTheEventsDueAtTheirTimeAndTheTraceHasOneRowPerTick) {
  std::ostringstream out;
  TraceWriter trace(out, 1);
  const auto inputs = script("0.1 wheel down\n0.1 key 8\n0.25 key 5\n");
  const DriveResult r = playDrive(*door, inputs, playedDurationUs(inputs), {&trace});
  EXPECT_EQ(r.virtualUs, 10250000);
  EXPECT_EQ(session->train().tickCount, 102);
  // 102 rows; the row of the tick at 0.1 s still shows the brake at emergency, that of 0.2 s the
  // two steps taken just after it (the wheel's posted "8", then the typed one).
  std::istringstream lines(out.str());
  std::string line;
  std::vector<std::string> rows;
  while (std::getline(lines, line)) rows.push_back(line);
  ASSERT_EQ(rows.size(), 102u);
  EXPECT_EQ(rows[0].substr(0, 15), "0.100000,3,0.00");
  EXPECT_NE(rows[0].find(",-8,-8,"), std::string::npos);        // brakeHandle, brakeNotch
  EXPECT_NE(rows[1].find(",1,0,0,-6,-8,"), std::string::npos);  // reverser, power, notch, brake -6
  EXPECT_EQ(session->control().brakeHandle, 0);                 // "5" at 0.25 s
}

TEST_F(DriveRunnerTest, MenuStartPausesTheDriveWhileItsClockRunsOn) {
  const auto inputs = script("1 menu start\n4 menu start\n");
  const DriveResult r = playDrive(*door, inputs, 5000000);
  EXPECT_EQ(r.virtualUs, 5000000);
  EXPECT_EQ(session->train().tickCount, 10 + 10);  // 0-1 s and 4-5 s
  EXPECT_TRUE(session->running());
}

TEST_F(DriveRunnerTest, InputsBeyondTheDurationAreNotPlayed) {
  const auto inputs = script("1 key 5\n20 key 0\n");
  playDrive(*door, inputs, 2000000);
  EXPECT_EQ(session->control().brakeHandle, 0);
}

TEST_F(DriveRunnerTest, AJumpMustNameAStationOfTheMoveMenu) {
  LineData line;
  for (int type : {0, 1, 2, 0}) {
    StationRow r;
    r.field[2] = type;
    line.Station.push_back(r);
  }
  EXPECT_EQ(jumpOutsideMenu(script("1 key 5\n2 menu jump 0\n3 menu jump 2\n"), line), std::nullopt);
  for (const char* refused : {"2 menu jump 1\n", "2 menu jump 3\n", "2 menu jump 4\n"}) {
    const auto e = jumpOutsideMenu(script(std::string("1 key 5\n") + refused), line);
    ASSERT_TRUE(e) << refused;
    EXPECT_EQ(e->line, 2);
    EXPECT_EQ(e->message.rfind("the \"Move\" menu has no station ", 0), 0u) << e->message;
  }
}

TEST_F(DriveRunnerTest, SummaryLine) {
  DriveResult r{600000000, 0.5, 12.345, 1234567.891, 4321};
  EXPECT_EQ(summaryLine(r),
            "drive: 600.000000 s virtual in 0.500 s wall (1200x real time), speed 12.35 km/h, distance "
            "1234567.89 cm, frame 4321");
}

}  // namespace
}  // namespace kestrel::run
