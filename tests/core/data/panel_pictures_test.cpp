#include <gtest/gtest.h>

#include "core/data/panel_pictures.h"
#include "core/util/fatal_error.h"
#include "support/fake_picture_loader.h"

namespace kestrel {
namespace {

PanelLayout samplePanel() {
  PanelLayout p;
  p.Panel = {"panel.bmp", 0, 600};
  p.Panel2 = {"panel2.bmp", 0, 600};
  p.Lamp_Back = {"lamp.bmp", 10, 620};
  p.Lamp_G = {"never.bmp", 1, 1};  // stored, not drawn
  p.Needle_Speed.file = "needle.bmp";
  p.Needle_BC_L = {"bar.bmp", 520, 740, 0.2};
  p.NotchImageP = {200, 700, 24, 24, "notch.bmp"};
  p.NotchImageB = {230, 700, 24, 24, ""};  // no file: no picture, no sprite
  p.Others = {{"o0.bmp", 1, 2}, {"o1.bmp", 3, 4}};
  return p;
}

TEST(PanelPictures, SpritesGetTheirNamesOrdersAndInitialState) {
  test::FakePictureLoader loader;
  loader.setSize("panel.bmp", 800, 160);
  PictureCatalog catalog;
  registerPanelPictures(samplePanel(), "/cars/313", loader, catalog);
  EXPECT_EQ(catalog.pictures.size(), 8u);
  EXPECT_EQ(catalog.find("img_Lamp_G"), nullptr);
  EXPECT_EQ(catalog.find("img_lamp_b"), nullptr);

  const CatalogPicture* panel = catalog.find("img_Panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->z, 0);
  EXPECT_FALSE(panel->transparent);
  EXPECT_EQ(panel->width, 800);
  EXPECT_EQ(panel->y, 600);
  const CatalogPicture* panel2 = catalog.find("img_Panel2");
  EXPECT_EQ(panel2->alpha, 0);
  EXPECT_TRUE(panel2->rotating);
  EXPECT_EQ(panel2->transparentColor, test::FakePictureLoader::kBottomLeft);
  EXPECT_EQ(catalog.find("img_Lamp_Bck")->z, 12);
  EXPECT_TRUE(catalog.find("img_Needle_speed")->rotating);
  EXPECT_EQ(catalog.find("img_Needle_speed")->z, 64);
  const CatalogPicture* bar = catalog.find("img_Needle_BC_L");
  EXPECT_EQ(bar->y, 740);
  EXPECT_FALSE(bar->transparent);
  const CatalogPicture* notch = catalog.find("img_lamp_p");
  EXPECT_EQ(notch->width, 24);
  EXPECT_EQ(notch->patternWidth, 24);
  EXPECT_EQ(notch->picture->width, 8);
  const CatalogPicture* other1 = catalog.find("img_other1");
  EXPECT_EQ(other1->z, 21);
  EXPECT_FALSE(other1->visible);
  EXPECT_EQ(loader.requests.front(), std::filesystem::path("/cars/313/panel.bmp"));
}

TEST(PanelPictures, MissingPicturesGiveTheirMessages) {
  test::FakePictureLoader loader;
  loader.setMissing("notch.bmp");
  PictureCatalog catalog;
  try {
    registerPanelPictures(samplePanel(), "/cars", loader, catalog);
    FAIL();
  } catch (const FatalError& e) {
    EXPECT_EQ(e.message(), "notch.bmpの生成エラー");
  }

  LineData line;
  line.Staf = {"image\\staf.jpg", "still.jpg", "sub.jpg"};
  SettingsData settings;
  settings.Disp.StafX = 600;
  loader.requests.clear();
  registerStafPictures(line, settings, "/content", loader, catalog);
  ASSERT_TRUE(catalog.stafCard.has_value());
  EXPECT_EQ(catalog.stafCard->x, 600);
  EXPECT_TRUE(catalog.stafCard->transparent);
  EXPECT_EQ(catalog.subDisplay->width, 480);
  EXPECT_EQ(loader.requests.size(), 2u);  // line 2 is loaded when the window is activated

  loader.setMissing("sub.jpg");
  try {
    registerStafPictures(line, settings, "/content", loader, catalog);
    FAIL();
  } catch (const FatalError& e) {
    EXPECT_EQ(e.message(), "sub.jpgが見つかりません");
  }
  line.Staf = {"", "", ""};
  PictureCatalog none;
  registerStafPictures(line, settings, "/content", loader, none);
  EXPECT_FALSE(none.stafCard || none.subDisplay);
}

}  // namespace
}  // namespace kestrel
