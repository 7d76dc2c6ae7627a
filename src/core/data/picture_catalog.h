#pragma once
// The pictures a cab session registers (panel, lamps, needles, pattern images, trackside image
// lists, monitor, staff card), each with the sprite it gets at creation: position, size, drawing
// order, pattern cell size, transparency and initial visibility/alpha. Filled by the picture
// loaders after the line file; the sprite scene of a drive is built from it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ports/picture.h"

namespace kestrel {

struct CatalogPicture {
  std::string name;  // e.g. "img_Panel", "img_Needle_speed", "img_unten_signal"
  std::string file;  // as written in the data file
  std::shared_ptr<const Picture> picture;
  bool transparent = false;
  uint32_t transparentColor = 0;  // the bottom-left pixel when transparent
  double x = 0, y = 0;
  int z = 0;                        // drawing order: lower first
  int width = 0, height = 0;        // sprite size (the picture's own unless stated)
  int patternWidth = 0, patternHeight = 0;  // cell size of a pattern strip; 0 = whole picture
  bool rotating = false;            // rotating kind (angle and alpha apply)
  int alpha = 255;
  bool visible = true;
};

struct PictureCatalog {
  std::vector<CatalogPicture> pictures;  // in registration order

  const CatalogPicture* find(const std::string& name) const {
    for (const auto& p : pictures)
      if (p.name == name) return &p;
    return nullptr;
  }
};

}  // namespace kestrel
