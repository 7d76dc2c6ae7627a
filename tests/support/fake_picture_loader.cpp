#include "support/fake_picture_loader.h"

namespace kestrel::test {

std::optional<Picture> FakePictureLoader::load(const std::filesystem::path& path) {
  requests.push_back(path);
  const std::string name = path.filename().string();
  if (missing_.count(name)) return std::nullopt;
  auto [w, h] = sizes_.count(name) ? sizes_[name] : std::pair{defaultWidth, defaultHeight};
  Picture p;
  p.width = w;
  p.height = h;
  p.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), kFill);
  p.pixels[static_cast<size_t>(h - 1) * static_cast<size_t>(w)] = kBottomLeft;
  return p;
}

}  // namespace kestrel::test
