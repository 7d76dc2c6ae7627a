#pragma once
// The cab's pictures as QImages ready to draw — the sprites' pictures and those of the line file's
// picture lists — each converted once, when the view is made, to premultiplied ARGB, with the
// transparent colour of a transparent picture (its bottom-left pixel) made fully transparent; a
// picture with no see-through pixel is kept as opaque RGB.
#include <QImage>
#include <string>
#include <unordered_map>

#include "core/data/picture_catalog.h"

namespace kestrel {

// A picture of the engine's format (0xAARRGGBB) as an image; `key` pixels (compared without
// their alpha) become transparent when `keyed`.
QImage imageOf(const Picture& picture, bool keyed = false, uint32_t key = 0);
QImage imageOf(const CatalogPicture& picture);

struct SpriteImage {
  QImage image;
  int patternWidth = 0, patternHeight = 0;  // 0: the whole picture is one pattern
};

class SpriteImages {
 public:
  explicit SpriteImages(const PictureCatalog& catalog);
  const SpriteImage* find(const std::string& name) const;

 private:
  std::unordered_map<std::string, SpriteImage> images_;
};

}  // namespace kestrel
