#pragma once
// A PictureLoader for the fuzzers: a small picture for most names, nothing for some, so that both
// the sprite set-up and the picture messages are reached without touching the disk. Given
// kEveryPicture it finds every picture (for the fixture content, which must load).
#include <functional>
#include <string>

#include "core/ports/picture_loader.h"

namespace kestrel::fuzz {

class FuzzPictureLoader final : public PictureLoader {
 public:
  static constexpr bool kEveryPicture = true;
  explicit FuzzPictureLoader(bool everyPicture = false) : everyPicture_(everyPicture) {}

  std::optional<Picture> load(const std::filesystem::path& path) override {
    const size_t h = std::hash<std::string>{}(path.filename().string());
    if (!everyPicture_ && h % 7 == 0) return std::nullopt;
    Picture p;
    p.width = 1 + static_cast<int>(h % 5);
    p.height = 1 + static_cast<int>((h / 5) % 5);
    p.pixels.assign(static_cast<size_t>(p.width * p.height), 0xFF000000u | static_cast<uint32_t>(h & 0xFFFFFF));
    return p;
  }

 private:
  bool everyPicture_;
};

}  // namespace kestrel::fuzz
