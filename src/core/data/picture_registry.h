#pragma once
// Registering one picture of the cab: load the file through the PictureLoader port and describe
// the sprite it gets. A transparent picture takes its bottom-left pixel as transparent colour.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/data/picture_catalog.h"
#include "core/ports/picture_loader.h"

namespace kestrel {

struct SpriteSpec {
  std::string name;
  double x = 0, y = 0;
  int z = 0;
  int width = -1, height = -1;  // -1: the picture's own size
  int patternWidth = 0, patternHeight = 0;
  bool transparent = false;
  bool rotating = false;
  int alpha = 255;
  bool visible = true;
};

// The picture named `file` (a data-file name, resolved against `base`), or nullopt when it cannot
// be loaded. An empty name never loads.
std::optional<CatalogPicture> loadCatalogPicture(PictureLoader& loader, const std::filesystem::path& base,
                                                 std::string_view file, const SpriteSpec& layout);

}  // namespace kestrel
