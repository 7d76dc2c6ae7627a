#pragma once
// The pictures a cab session registers (panel, lamps, needles, pattern images, trackside image
// lists, monitor, staff card), each with the sprite it gets at creation: position, size, drawing
// order, pattern cell size, transparency and initial visibility/alpha. Filled by the picture
// loaders after the line file; the sprite scene of a drive is built from it.
#include <cstdint>
#include <memory>
#include <optional>
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

// A picture list of the line file ([AnimImageList], [TrafficSignalImageList], [CrossImageList]):
// pictures without sprites of their own, selected by number at run time. Picture n of a list is
// registered as the list's name followed by n ("img_anim0", "img_anim1" ...); the list's one sprite
// bears the list's name.
inline constexpr const char* kAnimListName = "img_anim";
inline constexpr const char* kTrafficSignalListName = "img_trafficsignal";
inline constexpr const char* kCrossListName = "img_cross";

struct PictureList {
  std::vector<CatalogPicture> pictures;  // in file order
  int width = 0, height = 0;             // [CrossImageList]: the size of the last picture appended
};

struct PictureCatalog {
  std::vector<CatalogPicture> pictures;  // sprites, in registration order

  // The [Staf] pictures: picture controls of the cab window, not sprites. The staff card
  // (line 1) at ([Disp] line 2, 0), transparent, sized to its picture; the sub-display picture
  // (line 3) in `sub_disp`.
  std::optional<CatalogPicture> stafCard;
  std::optional<CatalogPicture> subDisplay;

  PictureList AnimImageList, TrafficSignalImageList, CrossImageList;

  const CatalogPicture* find(const std::string& name) const {
    for (const auto& p : pictures)
      if (p.name == name) return &p;
    return nullptr;
  }
  // Registers a picture; one registered again under the same name (a section given twice)
  // replaces the earlier one instead of adding a second sprite.
  void put(CatalogPicture picture) {
    for (auto& p : pictures)
      if (p.name == picture.name) {
        p = std::move(picture);
        return;
      }
    pictures.push_back(std::move(picture));
  }
};

}  // namespace kestrel
