#pragma once
// Spoken announcements and call-outs, made with the espeak-ng program in Japanese. Without
// espeak-ng every clip is a plain tone of about the length of the text, and note() says so.
#include <filesystem>
#include <string>

#include "tools/make_demo/assets.h"

namespace kestrel::demo {

class Voices {
 public:
  explicit Voices(std::filesystem::path scratch);
  bool speaking() const { return espeak_; }
  std::string note() const;
  // Speaks kana text; the result is at the synthesiser's rate, mono 16-bit.
  Wave say(const std::string& kana, int speed = 150) const;

 private:
  std::filesystem::path scratch_;
  bool espeak_ = false;
  mutable int counter_ = 0;
};

}  // namespace kestrel::demo
