#pragma once
// A decoded picture: 32-bit pixels 0xAARRGGBB, row-major, top row first.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrel {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  bool empty() const { return width <= 0 || height <= 0; }
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
  // The colour that transparent pictures take as transparent: the bottom-left pixel.
  uint32_t bottomLeft() const { return at(0, height - 1); }
};

}  // namespace kestrel
