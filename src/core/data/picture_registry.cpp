#include "core/data/picture_registry.h"

#include <memory>

#include "core/util/path_lookup.h"

namespace kestrel {

std::optional<CatalogPicture> loadCatalogPicture(PictureLoader& loader, const std::filesystem::path& base,
                                                 std::string_view file, const SpriteSpec& layout) {
  if (file.empty()) return std::nullopt;
  std::optional<Picture> picture = loader.load(resolveDataPath(base, file));
  if (!picture || picture->empty() ||
      picture->pixels.size() != static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height))
    return std::nullopt;
  CatalogPicture entry;
  entry.name = layout.name;
  entry.file = std::string(file);
  entry.transparent = layout.transparent;
  if (layout.transparent) entry.transparentColor = picture->bottomLeft();
  entry.x = layout.x;
  entry.y = layout.y;
  entry.z = layout.z;
  entry.width = layout.width >= 0 ? layout.width : picture->width;
  entry.height = layout.height >= 0 ? layout.height : picture->height;
  entry.patternWidth = layout.patternWidth;
  entry.patternHeight = layout.patternHeight;
  entry.rotating = layout.rotating;
  entry.alpha = layout.alpha;
  entry.visible = layout.visible;
  entry.picture = std::make_shared<const Picture>(std::move(*picture));
  return entry;
}

}  // namespace kestrel
