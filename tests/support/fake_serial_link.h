#pragma once
// A SerialLink fake: records the port it was opened with, refuses to open while `available` is
// false, and lets a test deliver bytes or make the device go away.
#include <string>
#include <utility>

#include "core/ports/serial_link.h"

namespace kestrel::test {

class FakeSerialLink final : public SerialLink {
 public:
  bool available = true;
  std::string openedWith;

  bool open(const SerialPortSettings& s) override {
    if (!available) return false;
    openedWith = s.portName;
    open_ = true;
    return true;
  }
  std::string errorText() const override { return "No such file or directory"; }
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  std::string readAll() override { return std::exchange(waiting_, {}); }
  void setReceiveHandler(std::function<void(int)> handler) override { receive_ = std::move(handler); }
  void setLostHandler(std::function<void()> handler) override { lost_ = std::move(handler); }

  // Bytes arriving as one receive event.
  void arrive(const std::string& bytes) {
    waiting_ += bytes;
    if (receive_) receive_(static_cast<int>(waiting_.size()));
  }
  // The device goes away: the link closes by itself.
  void vanish() {
    open_ = false;
    if (lost_) lost_();
  }

 private:
  bool open_ = false;
  std::string waiting_;
  std::function<void(int)> receive_;
  std::function<void()> lost_;
};

}  // namespace kestrel::test
