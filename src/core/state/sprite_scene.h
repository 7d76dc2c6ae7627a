#pragma once
// The sprites of a cab session, one per registered picture, built from the PictureCatalog. The
// tick and the controls set what they show (position, pattern, visibility, angle, alpha); the
// cab display draws whatever state they leave. Setting a sprite that does not exist does nothing,
// so a lamp or needle that the vehicle file leaves out is skipped silently.
//
// Each non-empty picture list of the line file (animations, traffic lights, level crossings) has
// one sprite too, named after the list: its pattern picks a picture of the list rather than a
// cell. It is sized to the list's last picture (as [CrossImageList] sizes its list), drawn at
// order 100 with the trackside pictures, hidden until a rule shows it; the rules place it.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/data/picture_catalog.h"

namespace kestrel {

struct Sprite {
  std::string name;
  double x = 0, y = 0;
  int z = 0;
  int width = 0, height = 0;
  int pattern = 0;       // cell of a pattern picture; not clamped here, the drawing clamps
  int patternCount = 1;  // cells the picture holds
  bool visible = true;
  int angle = 0;    // low byte: 256ths of a turn (rotating kind)
  int alpha = 255;  // rotating kind
  bool rotating = false;
  // The pattern names the picture of a line-file picture list: the sprite's name followed by the
  // pattern ("img_cross" with pattern 2 draws "img_cross2"); patternCount is the list's length.
  bool pictureList = false;
};

class SpriteScene {
 public:
  SpriteScene() = default;
  static SpriteScene fromCatalog(const PictureCatalog& catalog);

  // Appends a sprite (tests and the catalog build); a second sprite of the same name replaces
  // the lookup of the first.
  Sprite& add(Sprite sprite);

  Sprite* find(std::string_view name);
  const Sprite* find(std::string_view name) const;
  bool has(std::string_view name) const { return find(name) != nullptr; }

  void setVisible(std::string_view name, bool visible);
  void setPattern(std::string_view name, int pattern);
  // The picture's cell count, 0 when the sprite does not exist.
  int patternCount(std::string_view name) const;

  const std::vector<Sprite>& sprites() const { return sprites_; }

 private:
  std::vector<Sprite> sprites_;
  std::unordered_map<std::string, size_t> index_;
};

}  // namespace kestrel
