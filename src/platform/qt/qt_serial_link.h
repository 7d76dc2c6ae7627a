#pragma once
// SerialLink on QtSerialPort. Bytes are read on the GUI thread when readyRead arrives. A read or
// resource error (the device unplugged, the other end of a pseudo-terminal gone) closes the port
// at once and reports the loss once: left open, the port would raise the same error without end.
//
// Thread contract: GUI thread only.
#include <QSerialPort>

#include "core/ports/serial_link.h"

namespace kestrel {

class QtSerialLink final : public SerialLink {
 public:
  QtSerialLink();
  ~QtSerialLink() override;

  bool open(const SerialPortSettings& settings) override;
  std::string errorText() const override { return errorText_; }
  void close() override;
  bool isOpen() const override { return port_.isOpen(); }
  std::string readAll() override;
  void setReceiveHandler(std::function<void(int bytesWaiting)> handler) override {
    receive_ = std::move(handler);
  }
  void setLostHandler(std::function<void()> handler) override { lost_ = std::move(handler); }

  // The port a cab window starts with: the first serial port of the system ("COM1" on Windows,
  // its counterpart "/dev/ttyS0" elsewhere).
  static std::string defaultPortName();

 private:
  void errorOccurred(QSerialPort::SerialPortError error);

  QSerialPort port_;
  std::string errorText_;
  std::function<void(int)> receive_;
  std::function<void()> lost_;
};

}  // namespace kestrel
