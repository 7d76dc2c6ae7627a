// The line-side pictures on the quick demo: a picture list's sprite draws the list's picture that
// its pattern names, at the sprite's place, with the transparent colour left out; and a drive past
// the level crossing shows the traffic light and the crossing picture where the rules place them.
#include <gtest/gtest.h>

#include "core/present/lineside_pictures.h"
#include "demo_cab.h"
#include "platform/qt/cab_renderer.h"

namespace kestrel {
namespace {

struct LinesideRendererTest : ::testing::Test {
  test::DemoCab cab;
  CabRenderer renderer{cab.loaded.pictures};
  QImage view = CabRenderer::makeView();
  Picture grey{400, 300, std::vector<uint32_t>(400u * 300u, 0xFF808080u)};

  CabFrame frame() {
    CabFrame f;
    f.movie = &grey;
    f.movieRevision = 1;
    f.W = cab.loaded.settings.Disp.DisplayWidth;
    f.H = cab.loaded.settings.Disp.MovieHeight;
    return f;
  }
  const PictureList& list(const std::string& name) {
    const PictureCatalog& c = cab.loaded.pictures;
    if (name == kAnimListName) return c.AnimImageList;
    if (name == kTrafficSignalListName) return c.TrafficSignalImageList;
    return c.CrossImageList;
  }
};

// How the view shows picture `p` placed at (x, y) over grey: the share of its opaque pixels shown
// unchanged, and whether every pixel of its transparent colour shows the grey beneath.
struct Shown {
  double opaque = 0;
  bool keyedThrough = true;
};

Shown shownAt(const QImage& view, const CatalogPicture& p, int x, int y) {
  const Picture& pic = *p.picture;
  const uint32_t key = p.transparentColor & 0xFFFFFFu;
  int opaque = 0, same = 0;
  Shown s;
  for (int py = 0; py < pic.height; ++py)
    for (int px = 0; px < pic.width; ++px) {
      const uint32_t source = pic.at(px, py) & 0xFFFFFFu;
      const uint32_t seen = test::rgbAt(view, x + px, y + py);
      if (source == key) {
        s.keyedThrough = s.keyedThrough && seen == 0x808080u;
      } else {
        ++opaque;
        same += seen == source;
      }
    }
  s.opaque = opaque ? static_cast<double>(same) / opaque : 0;
  return s;
}

TEST_F(LinesideRendererTest, APictureListsSpriteDrawsThePictureItsPatternNamesAtItsPlace) {
  for (const std::string name : {kTrafficSignalListName, kAnimListName, kCrossListName}) {
    const PictureList& pictures = list(name);
    ASSERT_GE(pictures.pictures.size(), 2u) << name;
    SpriteScene scene;
    Sprite& s = scene.add(*cab.session->sprites().find(name));
    ASSERT_TRUE(s.pictureList);
    s.visible = true;
    const int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
    for (int n : {1, 0}) {
      s.pattern = n;
      renderer.render(frame(), scene, view);
      const Shown shown = shownAt(view, pictures.pictures[static_cast<size_t>(n)], x, y);
      EXPECT_EQ(shown.opaque, 1.0) << name << " picture " << n;
      EXPECT_TRUE(shown.keyedThrough) << name << " picture " << n;
    }
    // The two pictures differ, so the pattern really chose: picture 1 is not what shows now.
    EXPECT_LT(shownAt(view, pictures.pictures[1], x, y).opaque, 1.0) << name;
    // A pattern beyond the list shows its last picture; a hidden sprite shows nothing.
    s.pattern = 99;
    renderer.render(frame(), scene, view);
    EXPECT_EQ(shownAt(view, pictures.pictures.back(), x, y).opaque, 1.0) << name;
    s.visible = false;
    renderer.render(frame(), scene, view);
    EXPECT_EQ(test::rgbAt(view, x + s.width / 2, y + s.height / 3), 0x808080u) << name;
  }
}

TEST_F(LinesideRendererTest, ADriveTowardsTheCrossingShowsTheLightAndTheCrossingPictureAtTheirPlaces) {
  cab.session->start();
  const SpriteScene& sprites = cab.session->sprites();
  const Sprite& light = *sprites.find(kTrafficSignalListName);
  const Sprite& crossing = *sprites.find(kCrossListName);
  for (int i = 0; i < 200 && !(light.visible && crossing.visible); ++i) cab.film(0.1);
  ASSERT_TRUE(light.visible) << "frame " << cab.train().MovieFrame;
  ASSERT_TRUE(crossing.visible);
  // Beside the signal pictures, and in the left column under the other-signs post.
  EXPECT_EQ(light.x, 200);
  EXPECT_EQ(light.y, 60);
  EXPECT_EQ(crossing.x, 0);
  EXPECT_EQ(crossing.y, 330);
  renderer.render(frame(), sprites, view);
  const auto& lights = list(kTrafficSignalListName).pictures;
  const Shown l = shownAt(view, lights.at(static_cast<size_t>(light.pattern)), 200, 60);
  EXPECT_EQ(l.opaque, 1.0);
  EXPECT_TRUE(l.keyedThrough);
  const Shown c =
      shownAt(view, list(kCrossListName).pictures.at(static_cast<size_t>(crossing.pattern)), 0, 330);
  EXPECT_EQ(c.opaque, 1.0);
  EXPECT_TRUE(c.keyedThrough);
}

}  // namespace
}  // namespace kestrel
