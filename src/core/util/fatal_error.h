#pragma once
// A failure that ends a drive or the program, carrying the exact user-facing message (UTF-8).
// Library code throws it; the session boundary shows it (message box or stderr, exit status 2).
#include <stdexcept>
#include <string>

namespace kestrel {

class FatalError : public std::runtime_error {
 public:
  explicit FatalError(std::string message) : std::runtime_error(message), message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

}  // namespace kestrel
