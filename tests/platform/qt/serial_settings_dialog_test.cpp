// The serial settings dialog: it shows the settings it is given and returns what was chosen.
#include "platform/qt/serial_settings_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>

namespace kestrel {
namespace {

TEST(SerialSettingsDialog, ShowsTheSettingsAndReturnsTheChoice) {
  SerialPortSettings start;
  start.portName = "/dev/ttyS0";
  SerialSettingsDialog dialog(start, {"/dev/ttyUSB0", "/dev/ttyACM0"}, nullptr);
  EXPECT_EQ(dialog.portBox()->currentText(), "/dev/ttyS0");
  EXPECT_EQ(dialog.portBox()->count(), 2);
  EXPECT_EQ(dialog.baudBox()->currentText(), "9600");
  EXPECT_EQ(dialog.dataBitsBox()->currentText(), "8");
  EXPECT_EQ(dialog.stopBitsBox()->currentText(), "1");
  EXPECT_EQ(dialog.parityBox()->currentText(), "None");
  EXPECT_EQ(dialog.flowControlBox()->currentIndex(), 0);

  dialog.portBox()->setCurrentIndex(1);
  dialog.baudBox()->setEditText("19200");
  dialog.dataBitsBox()->setCurrentText("7");
  dialog.stopBitsBox()->setCurrentText("2");
  dialog.parityBox()->setCurrentText("Even");
  dialog.flowControlBox()->setCurrentIndex(2);
  SerialPortSettings s = dialog.settings();
  EXPECT_EQ(s.portName, "/dev/ttyACM0");
  EXPECT_EQ(s.baudRate, 19200);
  EXPECT_EQ(s.dataBits, 7);
  EXPECT_EQ(s.stopBits, SerialPortSettings::StopBits::Two);
  EXPECT_EQ(s.parity, SerialPortSettings::Parity::Even);
  EXPECT_EQ(s.flowControl, SerialPortSettings::FlowControl::Software);

  // A port typed by hand, and a baud rate that is no number keeps the one the dialog started with.
  dialog.portBox()->setEditText(" /tmp/pty0 ");
  dialog.baudBox()->setEditText("");
  s = dialog.settings();
  EXPECT_EQ(s.portName, "/tmp/pty0");
  EXPECT_EQ(s.baudRate, 9600);
}

}  // namespace
}  // namespace kestrel
