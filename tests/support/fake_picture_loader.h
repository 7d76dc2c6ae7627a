#pragma once
// A PictureLoader fake: records every path asked for and hands out small pictures without
// touching the disk. Paths whose file name is listed as missing fail; others get the default size
// or the size set for their file name. The bottom-left pixel is kBottomLeft, every other pixel
// kFill, so that the transparent colour is visible in tests.
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/ports/picture_loader.h"

namespace kestrel::test {

class FakePictureLoader final : public PictureLoader {
 public:
  static constexpr uint32_t kFill = 0xFF102030;
  static constexpr uint32_t kBottomLeft = 0xFFFF00FF;

  std::optional<Picture> load(const std::filesystem::path& path) override;

  void setMissing(const std::string& fileName) { missing_.insert(fileName); }
  void setSize(const std::string& fileName, int width, int height) { sizes_[fileName] = {width, height}; }

  int defaultWidth = 8;
  int defaultHeight = 4;
  std::vector<std::filesystem::path> requests;

 private:
  std::set<std::string> missing_;
  std::map<std::string, std::pair<int, int>> sizes_;
};

}  // namespace kestrel::test
