// The notice line: its items in order, the driver flag, and the engine notice that replaces all.
#include "core/sim/notices.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

struct NoticesTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;
  ControlState& c = rig.control;

  void SetUp() override {
    for (int n = 1; n <= 21; ++n) rig.settings.InfoLabel.push_back("L" + std::to_string(n));
    rig.line.MovieStop = {5000};
    t.distanceToStop = 1000;
  }
  std::string notice() {
    updateNotices(rig.c());
    return t.noticeText;
  }
};

TEST_F(NoticesTest, AtAOneManStopTheDoorSideToChoose) {
  rig.line.OneMan = 1;
  auto left = test::stationRow({.name = "東鷹見", .stopCm = 10000});
  left.field[14] = 0;
  rig.line.Station = {left};
  t.distanceRun = 10000;
  rig.keys.doorSide = 1;
  EXPECT_EQ(notice(), "0L8");
  rig.keys.doorSide = 0;
  EXPECT_EQ(notice(), "0");
  EXPECT_EQ(t.texts.message, "");
  rig.line.Station[0].field[14] = 1;
  EXPECT_EQ(notice(), "0L9");
  t.doorsOpen = true;
  EXPECT_EQ(notice(), "");
}

TEST_F(NoticesTest, TheItemsStandInTheirOrder) {
  t.MovieMode = 1;
  c.powerHandle = 2;
  t.AtsEnabled = false;
  t.MovieFrame = 4801;  // within 200 frames of the end of the line, at a stand
  t.atsAlarm = true;
  EXPECT_EQ(notice(),
            "0L10"
            "0L20"
            "0L21");  // the alarm needs ATS on
  EXPECT_EQ(t.texts.message, "L10 L20 L21");
  t.AtsEnabled = true;
  c.powerHandle = 1;
  t.MovieFrame = 4800;
  EXPECT_EQ(notice(),
            "0L10"
            "0L13");
  rig.settings.preferences.AtsOff = 1;  // switched off by the preference: no reminder
  t.AtsEnabled = false;
  c.powerHandle = 3;
  t.atsAlarm = false;
  EXPECT_EQ(notice(), "0L10");
}

TEST_F(NoticesTest, TheAutomaticBrakesAreExplainedAndTheDriversAnswerAwaited) {
  t.autoService = true;
  t.signals.patternState = 3;
  t.speed = 20;
  EXPECT_EQ(notice(), "0L11");
  t.speed = 0;
  EXPECT_EQ(notice(), "0L12");
  t.autoService = false;
  t.autoEmergency = true;
  t.signals.patternState = 0;
  t.atsAlarm = true;
  t.speed = 30;
  EXPECT_EQ(notice(), "0L11");
  t.speed = 0;
  EXPECT_EQ(notice(), "0L12");
  // The driver puts the brake at emergency: F is set and the notice waits for the reset.
  c.brakeHandle = -rig.c().nB();
  t.atsAlarm = false;
  EXPECT_EQ(notice(), "0L19");
  EXPECT_TRUE(c.driverFlag);
  t.autoEmergency = false;  // the reset
  EXPECT_EQ(notice(), "");
  EXPECT_FALSE(c.driverFlag);
}

TEST_F(NoticesTest, TheSignalAheadAndTheStopAhead) {
  t.vigilanceTicks = 601;
  EXPECT_EQ(notice(), "0L14");
  t.vigilanceTicks = 0;
  t.currentCode = 8;  // caution
  t.speed = 55.4;
  EXPECT_EQ(notice(), "");
  t.speed = 55.5;
  EXPECT_EQ(notice(), "0L15");
  t.currentCode = 24;
  t.speed = 76;
  EXPECT_EQ(notice(), "0L16");
  t.currentCode = 22;
  t.speed = 26;
  EXPECT_EQ(notice(), "0L17");
  // Far from the stop (over 250 m) but within braking distance of it.
  t.speed = 100;
  t.distanceToStop = 30000;
  EXPECT_EQ(notice(),
            "0L17"
            "0L18");
  t.distanceToStop = 80000;
  EXPECT_EQ(notice(), "0L17");
}

TEST_F(NoticesTest, TheEngineNoticeReplacesAllOthers) {
  t.autoEmergency = true;
  t.atsAlarm = true;
  t.MovieMode = 1;
  c.powerHandle = 1;
  t.engineState = 0;
  EXPECT_EQ(notice(), "0エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。");
  EXPECT_EQ(t.texts.message, "エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。");
  t.speed = 1;  // only at a stand
  EXPECT_NE(notice().find("0L10"), std::string::npos);
}

TEST_F(NoticesTest, TheMessageChangesOnlyWithTheNotice) {
  t.vigilanceTicks = 601;
  notice();
  EXPECT_EQ(t.texts.message, "L14");
  t.texts.message = "kept";
  notice();
  EXPECT_EQ(t.texts.message, "kept");
  t.vigilanceTicks = 0;
  notice();
  EXPECT_EQ(t.texts.message, "");
}

}  // namespace
}  // namespace kestrel
