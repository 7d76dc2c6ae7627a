// The sprite scene built from the picture catalog.
#include "core/state/sprite_scene.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(SpriteScene, BuildsOneSpritePerPictureWithItsPatternCellCount) {
  PictureCatalog catalog;
  auto strip = std::make_shared<Picture>();
  strip->width = 100;
  strip->height = 40;
  catalog.pictures.push_back({.name = "img_lamp_b",
                              .picture = strip,
                              .x = 5,
                              .y = 6,
                              .z = 32,
                              .width = 20,
                              .height = 20,
                              .patternWidth = 20,
                              .patternHeight = 20});
  catalog.pictures.push_back({.name = "img_Panel", .picture = strip, .z = 0, .width = 100, .height = 40});
  catalog.pictures.push_back({.name = "img_other0", .visible = false});
  SpriteScene scene = SpriteScene::fromCatalog(catalog);
  ASSERT_EQ(scene.sprites().size(), 3u);
  EXPECT_EQ(scene.patternCount("img_lamp_b"), 10);  // 5 x 2 cells of 20 x 20
  EXPECT_EQ(scene.patternCount("img_Panel"), 1);
  EXPECT_EQ(scene.find("img_lamp_b")->z, 32);
  EXPECT_EQ(scene.find("img_lamp_b")->x, 5);
  EXPECT_FALSE(scene.find("img_other0")->visible);
  // Absent sprites are skipped silently.
  EXPECT_EQ(scene.find("img_Lamp_Ele"), nullptr);
  scene.setVisible("img_Lamp_Ele", true);
  scene.setPattern("img_Lamp_Ele", 3);
  EXPECT_EQ(scene.patternCount("img_Lamp_Ele"), 0);
  scene.setPattern("img_lamp_b", 4);
  EXPECT_EQ(scene.find("img_lamp_b")->pattern, 4);
}

TEST(SpriteScene, EachNonEmptyPictureListGetsOneHiddenSpriteSizedToItsLastPicture) {
  PictureCatalog catalog;
  catalog.pictures.push_back({.name = "img_unten_signal", .z = 100});
  for (int i = 0; i < 3; ++i)
    catalog.CrossImageList.pictures.push_back(
        {.name = "img_cross" + std::to_string(i), .width = 90 + i, .height = 60 + i});
  catalog.TrafficSignalImageList.pictures.push_back(
      {.name = "img_trafficsignal0", .width = 32, .height = 80});
  SpriteScene scene = SpriteScene::fromCatalog(catalog);
  ASSERT_EQ(scene.sprites().size(), 3u);  // no sprite for the empty animation list
  EXPECT_EQ(scene.find(kAnimListName), nullptr);
  const Sprite* cross = scene.find(kCrossListName);
  ASSERT_NE(cross, nullptr);
  EXPECT_TRUE(cross->pictureList);
  EXPECT_FALSE(cross->visible);
  EXPECT_EQ(cross->z, 100);
  EXPECT_EQ(cross->patternCount, 3);
  EXPECT_EQ(cross->width, 92);
  EXPECT_EQ(cross->height, 62);
  EXPECT_EQ(scene.find(kTrafficSignalListName)->width, 32);
  EXPECT_FALSE(scene.find("img_unten_signal")->pictureList);
}

}  // namespace
}  // namespace kestrel
