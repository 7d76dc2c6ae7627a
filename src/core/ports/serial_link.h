#pragma once
// Port: a serial port that the cab window opens and closes by name. Every cab window starts at
// 9600 baud, 8 data bits, no parity, 1 stop bit and no flow control of any kind (DTR and RTS held
// inactive); the settings dialog may change that until the window closes.
//
// Thread contract: the receive and lost notifications are delivered on the thread that owns the
// drive, between its other events.
#include <cstdint>
#include <functional>
#include <string>

namespace kestrel {

struct SerialPortSettings {
  enum class Parity { None, Even, Odd, Mark, Space };
  enum class StopBits { One, OneAndHalf, Two };
  enum class FlowControl { None, Hardware, Software };

  std::string portName;
  int32_t baudRate = 9600;
  int32_t dataBits = 8;  // 5 to 8
  Parity parity = Parity::None;
  StopBits stopBits = StopBits::One;
  FlowControl flowControl = FlowControl::None;
};

class SerialLink {
 public:
  virtual ~SerialLink() = default;
  // False when the port is missing or busy; errorText() then says why.
  virtual bool open(const SerialPortSettings& settings) = 0;
  virtual std::string errorText() const = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // All bytes waiting, as they came.
  virtual std::string readAll() = 0;
  // Called with the number of bytes waiting whenever bytes arrive.
  virtual void setReceiveHandler(std::function<void(int bytesWaiting)> handler) = 0;
  // Called when the link has closed by itself because the device went away (never after close()).
  virtual void setLostHandler(std::function<void()> handler) = 0;
};

}  // namespace kestrel
