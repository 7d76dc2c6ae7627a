#include "core/data/picture_registry.h"

#include <memory>

#include "core/util/path_lookup.h"

namespace kestrel {

std::optional<CatalogPicture> loadCatalogPicture(PictureLoader& loader, const std::filesystem::path& base,
                                                 std::string_view file, const SpriteSpec& spec) {
  if (file.empty()) return std::nullopt;
  std::optional<Picture> picture = loader.load(resolveDataPath(base, file));
  if (!picture || picture->empty() ||
      picture->pixels.size() != static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height))
    return std::nullopt;
  CatalogPicture entry;
  entry.name = spec.name;
  entry.file = std::string(file);
  entry.transparent = spec.transparent;
  if (spec.transparent) entry.transparentColor = picture->bottomLeft();
  entry.x = spec.x;
  entry.y = spec.y;
  entry.z = spec.z;
  entry.width = spec.width >= 0 ? spec.width : picture->width;
  entry.height = spec.height >= 0 ? spec.height : picture->height;
  entry.patternWidth = spec.patternWidth;
  entry.patternHeight = spec.patternHeight;
  entry.rotating = spec.rotating;
  entry.alpha = spec.alpha;
  entry.visible = spec.visible;
  entry.picture = std::make_shared<const Picture>(std::move(*picture));
  return entry;
}

}  // namespace kestrel
