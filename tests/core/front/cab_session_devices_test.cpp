// The cab session with the serial controller and a game controller: receive events in pieces,
// the poll in the tick while a game-controller kind is chosen, and what the poll posts arriving
// after the tick.
#include <gtest/gtest.h>

#include <memory>

#include "core/front/cab_session.h"
#include "support/drive_rig.h"
#include "support/fake_gamepad.h"

namespace kestrel {
namespace {

struct SessionDevicesTest : ::testing::Test {
  test::DriveRig rig;
  std::unique_ptr<CabSession> session;
  test::FakeGamepad pad;

  void SetUp() override {
    rig.settings.mascon = {"MCP01", "MCP02"};
    rig.vehicle.PowerMode = {{"P", "直列"}, {"S", "並列"}};
    rig.vehicle.powerModeIndex = {0, 2};
    rig.vehicle.Notch[2].group = rig.vehicle.Notch[3].group = 1;
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
        rig.program);
    rig.mixer.setClock([this] { return session->scheduler().now(); });
    session->setGamepadPoller(&pad);
    session->start();
  }
  void ticks(int n) { session->scheduler().advanceBy(n * 100000); }
};

TEST_F(SessionDevicesTest, ASerialCommandInPiecesActsWhenItsCarriageReturnArrives) {
  session->RxChar("MC");
  session->RxChar("P0");
  EXPECT_EQ(session->control().powerHandle, 0);
  EXPECT_EQ(session->control().brakeHandle, -8);
  session->RxChar("2\r");
  EXPECT_EQ(session->control().powerHandle, 2);
  EXPECT_EQ(session->control().brakeHandle, 0);
  EXPECT_EQ(session->keys().serialCommandText, "MCP02\r");
}

TEST_F(SessionDevicesTest, TheTickPollsOnlyWhileAGameControllerIsChosen) {
  pad.state.y = -6000;
  ticks(3);
  EXPECT_EQ(pad.polls, 0);
  EXPECT_EQ(session->control().powerHandle, 0);

  rig.program.controllerKind = ControllerKind::WindowsGo;
  ticks(3);
  EXPECT_EQ(pad.polls, 3);
  EXPECT_EQ(session->control().powerHandle, 2);
  EXPECT_EQ(session->control().brakeHandle, 0);  // X = 0: released

  rig.program.controllerKind = ControllerKind::Standard;
  pad.state.y = 0;
  ticks(3);
  EXPECT_EQ(pad.polls, 3);
  EXPECT_EQ(session->control().powerHandle, 2);  // where the controller left it
}

TEST_F(SessionDevicesTest, WhatThePollPostsIsHandledAfterTheTick) {
  rig.program.controllerKind = ControllerKind::WindowsGo;
  pad.state.y = 1;
  pad.state.buttons[0] = true;  // "9": the next power mode, with the handle off
  int32_t modeSeenByTheTick = -1;
  session->setTickObserver([&] { modeSeenByTheTick = session->control().powerMode; });
  ticks(1);
  EXPECT_EQ(modeSeenByTheTick, 0);
  EXPECT_EQ(session->control().powerMode, 1);
  EXPECT_TRUE(session->keys().postedCharacters.empty());
  ticks(5);  // held: posted once
  EXPECT_EQ(session->control().powerMode, 1);
}

}  // namespace
}  // namespace kestrel
