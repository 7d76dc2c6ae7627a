#pragma once
// Port: a serial port at 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control.
// The receive notification is delivered on the thread that owns the drive.
#include <functional>
#include <string>

namespace kestrel {

class SerialLink {
 public:
  virtual ~SerialLink() = default;
  virtual bool open(const std::string& portName) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // All bytes waiting, as they came.
  virtual std::string readAll() = 0;
  // Called with the number of bytes waiting whenever bytes arrive.
  virtual void setReceiveHandler(std::function<void(int bytesWaiting)> handler) = 0;
};

}  // namespace kestrel
