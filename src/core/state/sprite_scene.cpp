#include "core/state/sprite_scene.h"

namespace kestrel {

namespace {

constexpr int kListSpriteOrder = 100;

int cellCount(const CatalogPicture& p) {
  int w = p.picture ? p.picture->width : p.width;
  int h = p.picture ? p.picture->height : p.height;
  int cols = p.patternWidth > 0 ? w / p.patternWidth : 1;
  int rows = p.patternHeight > 0 ? h / p.patternHeight : 1;
  return cols * rows;
}

void addListSprite(SpriteScene& scene, const char* name, const PictureList& list) {
  if (list.pictures.empty()) return;
  const CatalogPicture& last = list.pictures.back();
  Sprite s;
  s.name = name;
  s.z = kListSpriteOrder;
  s.width = last.width;
  s.height = last.height;
  s.patternCount = static_cast<int>(list.pictures.size());
  s.visible = false;
  s.pictureList = true;
  scene.add(std::move(s));
}

}  // namespace

SpriteScene SpriteScene::fromCatalog(const PictureCatalog& catalog) {
  SpriteScene scene;
  for (const auto& p : catalog.pictures) {
    Sprite s;
    s.name = p.name;
    s.x = p.x;
    s.y = p.y;
    s.z = p.z;
    s.width = p.width;
    s.height = p.height;
    s.patternCount = cellCount(p);
    s.visible = p.visible;
    s.alpha = p.alpha;
    s.rotating = p.rotating;
    scene.add(std::move(s));
  }
  addListSprite(scene, kAnimListName, catalog.AnimImageList);
  addListSprite(scene, kTrafficSignalListName, catalog.TrafficSignalImageList);
  addListSprite(scene, kCrossListName, catalog.CrossImageList);
  return scene;
}

Sprite& SpriteScene::add(Sprite sprite) {
  index_[sprite.name] = sprites_.size();
  sprites_.push_back(std::move(sprite));
  return sprites_.back();
}

Sprite* SpriteScene::find(std::string_view name) {
  auto it = index_.find(std::string(name));
  return it == index_.end() ? nullptr : &sprites_[it->second];
}

const Sprite* SpriteScene::find(std::string_view name) const {
  auto it = index_.find(std::string(name));
  return it == index_.end() ? nullptr : &sprites_[it->second];
}

void SpriteScene::setVisible(std::string_view name, bool visible) {
  if (Sprite* s = find(name)) s->visible = visible;
}

void SpriteScene::setPattern(std::string_view name, int pattern) {
  if (Sprite* s = find(name)) s->pattern = pattern;
}

int SpriteScene::patternCount(std::string_view name) const {
  const Sprite* s = find(name);
  return s ? s->patternCount : 0;
}

}  // namespace kestrel
