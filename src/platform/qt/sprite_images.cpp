#include "platform/qt/sprite_images.h"

namespace kestrel {

QImage imageOf(const Picture& picture, bool keyed, uint32_t key) {
  if (picture.empty()) return {};
  QImage image(picture.width, picture.height, QImage::Format_ARGB32);
  const uint32_t rgbKey = key & 0xFFFFFFu;
  bool opaque = true;
  for (int y = 0; y < picture.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
    const uint32_t* src = picture.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(picture.width);
    for (int x = 0; x < picture.width; ++x) {
      row[x] = keyed && (src[x] & 0xFFFFFFu) == rgbKey ? 0u : src[x];
      opaque = opaque && (row[x] >> 24) == 0xFFu;
    }
  }
  // A picture without a see-through pixel is kept without alpha: drawing copies it instead of
  // blending every pixel.
  return image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
}

QImage imageOf(const CatalogPicture& p) {
  if (!p.picture) return {};
  return imageOf(*p.picture, p.transparent, p.transparentColor);
}

SpriteImages::SpriteImages(const PictureCatalog& catalog) {
  for (const CatalogPicture& p : catalog.pictures)
    images_[p.name] = SpriteImage{imageOf(p), p.patternWidth, p.patternHeight};
  // The pictures of the line file's picture lists, under their own names ("img_cross0" ...).
  for (const PictureList* list :
       {&catalog.AnimImageList, &catalog.TrafficSignalImageList, &catalog.CrossImageList})
    for (const CatalogPicture& p : list->pictures) images_[p.name] = SpriteImage{imageOf(p), 0, 0};
}

const SpriteImage* SpriteImages::find(const std::string& name) const {
  auto it = images_.find(name);
  return it == images_.end() ? nullptr : &it->second;
}

}  // namespace kestrel
