// The cab window's serial controller: the connect item's two ways, a port that does not open, the
// received bytes reaching the drive, a device that goes away, and the close of the window.
#include "core/front/serial_connection.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/door_rig.h"
#include "support/fake_serial_link.h"
#include "support/recording_dialogs.h"

namespace kestrel {
namespace {

struct SerialConnectionTest : ::testing::Test {
  test::DoorRig drive{[](test::DriveRig& r) {
    r.settings.mascon = {"MCP01", "MCP02", "MCP03", "MCP04", "MCP05", "MCP06", "MCN00", "MCB01"};
  }};
  CabSession* session = drive.session.get();
  test::FakeSerialLink link;
  test::RecordingDialogs dialogs;
  std::unique_ptr<SerialConnection> serial;

  void SetUp() override {
    SerialPortSettings settings;
    settings.portName = "/dev/ttyS0";
    serial = std::make_unique<SerialConnection>(link, *drive.door, dialogs, settings);
  }
};

TEST_F(SerialConnectionTest, TheConnectItemOpensAndTheSecondClickCloses) {
  EXPECT_FALSE(serial->connected());
  serial->Connect1Click();
  EXPECT_TRUE(serial->connected());
  EXPECT_EQ(link.openedWith, "/dev/ttyS0");
  serial->Connect1Click();
  EXPECT_FALSE(serial->connected());
  EXPECT_EQ(dialogs.messages,
            (std::vector<std::string>{"Connect to controller.", "Disconnect from controller."}));
  // The settings dialog's port is the one the next click opens.
  serial->settings().portName = "/dev/ttyUSB0";
  serial->Connect1Click();
  EXPECT_EQ(link.openedWith, "/dev/ttyUSB0");
}

TEST_F(SerialConnectionTest, APortThatDoesNotOpenIsReportedWithItsReasonOnly) {
  link.available = false;
  serial->Connect1Click();
  EXPECT_FALSE(serial->connected());
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"/dev/ttyS0: No such file or directory"}));
}

TEST_F(SerialConnectionTest, ReceivedBytesDriveTheHandlesAndPostedKeysArriveAtOnce) {
  serial->Connect1Click();
  link.arrive("MC");
  EXPECT_EQ(session->control().powerHandle, 0);
  link.arrive("P03\r");
  EXPECT_EQ(session->control().powerHandle, 3);
  link.arrive("MCB01\r");
  EXPECT_EQ(session->control().brakeHandle, -1);
  EXPECT_EQ(session->control().powerHandle, 0);
}

TEST_F(SerialConnectionTest, ADeviceThatGoesAwayAndTheWindowsCloseSayDisconnect) {
  serial->Connect1Click();
  link.arrive("MCP03\r");
  link.arrive("MCB");  // unplugged in the middle of a command
  link.vanish();
  EXPECT_EQ(dialogs.messages.back(), "Disconnect from controller.");
  EXPECT_EQ(session->control().powerHandle, 3);  // the handles stay where they were
  // Plugged in again: the half command is gone, the next one works whole.
  serial->Connect1Click();
  link.arrive("MCP02\r");
  EXPECT_EQ(session->control().powerHandle, 2);
  link.vanish();
  EXPECT_EQ(dialogs.messages.size(), 4u);
  serial->close();  // already closed: nothing more
  EXPECT_EQ(dialogs.messages.size(), 4u);
  serial->Connect1Click();
  serial->close();
  EXPECT_FALSE(serial->connected());
  EXPECT_EQ(dialogs.messages.back(), "Disconnect from controller.");
  EXPECT_EQ(dialogs.messages.size(), 6u);
}

}  // namespace
}  // namespace kestrel
