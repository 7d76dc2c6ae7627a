#include "core/front/serial_connection.h"

namespace kestrel {

SerialConnection::SerialConnection(SerialLink& link, DriveDoor& door, UserDialogs& dialogs,
                                   SerialPortSettings settings)
    : link_(link), door_(door), dialogs_(dialogs), settings_(std::move(settings)) {
  link_.setReceiveHandler([this](int) {
    ScriptInput in;
    in.kind = ScriptInput::Kind::Serial;
    in.bytes = link_.readAll();
    door_.driverInput(std::move(in));
  });
  link_.setLostHandler([this] { COMClosed(); });
}

SerialConnection::~SerialConnection() {
  link_.setReceiveHandler(nullptr);
  link_.setLostHandler(nullptr);
}

void SerialConnection::Connect1Click() {
  if (link_.isOpen()) {
    link_.close();
    COMClosed();
    return;
  }
  if (!link_.open(settings_)) {
    dialogs_.showMessage(settings_.portName + ": " + link_.errorText());
    return;
  }
  dialogs_.showMessage(kControllerConnected);  // COMOpened
}

void SerialConnection::close() {
  if (!link_.isOpen()) return;
  link_.close();
  COMClosed();
}

void SerialConnection::COMClosed() {
  door_.session().serialPortClosed();
  dialogs_.showMessage(kControllerDisconnected);
}

}  // namespace kestrel
