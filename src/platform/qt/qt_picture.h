#pragma once
// A decoded Picture (0xAARRGGBB, top row first) as a QImage of its own pixels.
#include <QImage>
#include <cstring>

#include "core/ports/picture.h"

namespace kestrel {

inline QImage toQImage(const Picture& picture) {
  QImage image(picture.width, picture.height, QImage::Format_ARGB32);
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(image.scanLine(y),
                picture.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(picture.width),
                static_cast<size_t>(picture.width) * sizeof(uint32_t));
  return image;
}

}  // namespace kestrel
