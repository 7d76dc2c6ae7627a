#pragma once
// The serial master controller of one cab window: the port settings it starts with, the connect
// item that opens and closes the port (Connect1Click), the receive event handed to the drive through
// its door, and the close of the window. What the user is told goes to the message boxes.
//
// Thread contract: the thread that owns the drive, like the session it feeds.
#include "core/front/drive_door.h"
#include "core/ports/serial_link.h"
#include "core/ports/user_dialogs.h"

namespace kestrel {

inline constexpr const char* kControllerConnected = "Connect to controller.";          // COMOpened
inline constexpr const char* kControllerDisconnected = "Disconnect from controller.";  // COMClosed

class SerialConnection {
 public:
  // The port is closed until the connect item opens it.
  SerialConnection(SerialLink& link, DriveDoor& door, UserDialogs& dialogs, SerialPortSettings settings);
  ~SerialConnection();
  SerialConnection(const SerialConnection&) = delete;
  SerialConnection& operator=(const SerialConnection&) = delete;

  // What the settings dialog edits ("QXマスコン（設定）(&P)"); kept until the window closes and
  // used by the next open.
  SerialPortSettings& settings() { return settings_; }
  bool connected() const { return link_.isOpen(); }

  // "QXマスコン（接続）(&C)": closes an open port, otherwise opens it. A port that does not open
  // is reported with the platform's reason, prefixed by its name.
  void Connect1Click();
  // The close of the cab window: an open port is closed, with its message.
  void close();

 private:
  void COMClosed();

  SerialLink& link_;
  DriveDoor& door_;
  UserDialogs& dialogs_;
  SerialPortSettings settings_;
};

}  // namespace kestrel
