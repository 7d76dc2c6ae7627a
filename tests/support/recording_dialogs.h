#pragma once
// A UserDialogs fake: keeps every message shown and question asked (answered with `answer`); the
// file dialog is always cancelled.
#include <string>
#include <vector>

#include "core/ports/user_dialogs.h"

namespace kestrel::test {

class RecordingDialogs final : public UserDialogs {
 public:
  std::vector<std::string> messages;
  bool answer = false;
  void showMessage(const std::string& text) override { messages.push_back(text); }
  bool confirm(const std::string& text) override {
    messages.push_back(text);
    return answer;
  }
  std::optional<std::string> openFile(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  bool openDocument(const std::string&) override { return false; }
};

}  // namespace kestrel::test
