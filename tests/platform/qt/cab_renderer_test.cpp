// The QPainter renderer on the quick demo's 313 panel and route movie, each check against a picture
// worked out in the test: the movie frame scaled to the movie area, a pattern cell with its
// transparent colour, a needle at the angle of the speed rule, the drawing order, a text and its
// shadow at their places, the kilometre post, the clock's hands, the tunnel darkening, the fade
// and the still picture over the sprites; every demo needle against its dial.
#include "platform/qt/cab_renderer.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <cmath>

#include "core/present/needle_rules.h"
#include "demo_cab.h"
#include "platform/qt/cab_fonts.h"
#include "platform/qt/sprite_images.h"

namespace kestrel {
namespace {

Picture filled(int w, int h, uint32_t argb) {
  return Picture{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * static_cast<size_t>(h), argb)};
}

int channel(uint32_t rgb, int shift) {
  return static_cast<int>((rgb >> shift) & 0xFF);
}

struct RendererTest : ::testing::Test {
  test::DemoCab cab;
  CabRenderer renderer{cab.loaded.pictures};
  QImage view = CabRenderer::makeView();
  Picture grey = filled(400, 300, 0xFF808080u);

  // A frame of the demo's 800 x 600 movie area with nothing on it but `movie`.
  CabFrame bare(const Picture* movie = nullptr, uint64_t revision = 1) {
    CabFrame f;
    f.movie = movie;
    f.movieRevision = revision;
    f.W = cab.loaded.settings.Disp.DisplayWidth;
    f.H = cab.loaded.settings.Disp.MovieHeight;
    f.fadeHeight = f.H + cab.loaded.settings.Disp.PanelHeight;
    return f;
  }
  // One sprite of the demo's scene, alone.
  SpriteScene only(const char* name) {
    SpriteScene scene;
    const Sprite* s = cab.session->sprites().find(name);
    EXPECT_TRUE(s) << name;
    if (s) scene.add(*s).visible = true;
    return scene;
  }
  const CatalogPicture& picture(const char* name) { return *cab.loaded.pictures.find(name); }
};

TEST_F(RendererTest, TheMovieFrameFillsTheMovieAreaScaled) {
  ASSERT_EQ(cab.reader.frameCount(), 1366);
  Picture frame;
  ASSERT_TRUE(cab.reader.decodeFrame(600, frame));
  ASSERT_EQ(frame.width, 640);
  renderer.render(bare(&frame), SpriteScene{}, view);
  // Block means of the view against the same part of the frame: 640 x 480 onto 800 x 600.
  int compared = 0;
  for (int by = 0; by < 600; by += 60) {
    for (int bx = 0; bx < 800; bx += 80) {
      for (int shift : {0, 8, 16}) {
        double v = 0, f = 0;
        for (int y = by + 10; y < by + 50; ++y)
          for (int x = bx + 10; x < bx + 70; ++x) v += channel(test::rgbAt(view, x, y), shift);
        for (int y = (by + 10) * 4 / 5; y < (by + 50) * 4 / 5; ++y)
          for (int x = (bx + 10) * 4 / 5; x < (bx + 70) * 4 / 5; ++x) f += channel(frame.at(x, y), shift);
        v /= 40.0 * 60.0;
        f /= 32.0 * 48.0;
        EXPECT_NEAR(v, f, 6.0) << "block " << bx << "," << by;
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, 300);
  // Below the movie area the view stays black.
  EXPECT_EQ(test::rgbAt(view, 400, 700), 0u);
}

TEST_F(RendererTest, APatternCellIsDrawnWithItsTransparentColourLeftOut) {
  SpriteScene scene = only("img_lamp_p");
  Sprite& s = *scene.find("img_lamp_p");
  const CatalogPicture& p = picture("img_lamp_p");
  ASSERT_GT(s.patternCount, 3);
  s.pattern = 3;
  renderer.render(bare(&grey), scene, view);
  const int sx = static_cast<int>(s.x), sy = static_cast<int>(s.y);
  int opaque = 0, keyed = 0;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      const uint32_t source = p.picture->at(3 * p.patternWidth + x, y) & 0xFFFFFFu;
      const uint32_t shown = test::rgbAt(view, sx + x, sy + y);
      if (source == (p.transparentColor & 0xFFFFFFu)) {
        EXPECT_EQ(shown, sy + y < 600 ? 0x808080u : 0u);  // what lies beneath
        ++keyed;
      } else {
        EXPECT_EQ(shown, source) << x << "," << y;
        ++opaque;
      }
    }
  }
  EXPECT_GT(opaque, 0);
  EXPECT_GT(keyed, 0);
  // A pattern beyond the strip shows its last cell rather than nothing.
  s.pattern = 999;
  renderer.render(bare(), scene, view);
  const int last = s.patternCount - 1;
  bool same = true;
  for (int y = 0; y < s.height && same; ++y)
    for (int x = 0; x < s.width && same; ++x) {
      const uint32_t source = p.picture->at(last * p.patternWidth + x, y) & 0xFFFFFFu;
      if (source != (p.transparentColor & 0xFFFFFFu)) same = test::rgbAt(view, sx + x, sy + y) == source;
    }
  EXPECT_TRUE(same);
}

// The centre of the picture's opaque pixels, turned by `angle` 256ths clockwise about the
// picture's centre, on the view.
QPointF expectedCentroid(const CatalogPicture& p, const Sprite& s, int angle) {
  double sx = 0, sy = 0, n = 0;
  for (int y = 0; y < p.picture->height; ++y)
    for (int x = 0; x < p.picture->width; ++x)
      if ((p.picture->at(x, y) & 0xFFFFFFu) != (p.transparentColor & 0xFFFFFFu)) {
        sx += x + 0.5;
        sy += y + 0.5;
        n += 1;
      }
  const double cx = p.picture->width / 2.0, cy = p.picture->height / 2.0;
  const double a = (angle & 0xFF) * 2 * M_PI / 256;
  const double dx = sx / n - cx, dy = sy / n - cy;
  // Clockwise on a screen whose y runs down.
  return {s.x + cx + dx * std::cos(a) - dy * std::sin(a), s.y + cy + dx * std::sin(a) + dy * std::cos(a)};
}

QPointF drawnCentroid(const QImage& view, const QRect& area) {
  double sx = 0, sy = 0, n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (test::rgbAt(view, x, y) != 0) {
        sx += x + 0.5;
        sy += y + 0.5;
        n += 1;
      }
  return n > 0 ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}

TEST_F(RendererTest, TheSpeedNeedleTurnsToTheAngleOfTheSpeedRule) {
  SpriteScene scene = only("img_Needle_speed");
  Sprite& s = *scene.find("img_Needle_speed");
  const CatalogPicture& p = picture("img_Needle_speed");
  const QRect area(static_cast<int>(s.x), static_cast<int>(s.y), s.width, s.height);
  std::vector<QPointF> seen;
  for (double kmh : {0.0, 40.0, 100.0}) {
    s.angle = *needles::speedAngle(cab.loaded.panel.Needle_Speed, kmh);
    renderer.render(bare(), scene, view);
    const QPointF drawn = drawnCentroid(view, area.adjusted(-2, -2, 2, 2));
    const QPointF expected = expectedCentroid(p, s, s.angle);
    EXPECT_LT(QLineF(drawn, expected).length(), 1.5) << kmh << " km/h, angle " << s.angle;
    seen.push_back(drawn);
  }
  EXPECT_GT(QLineF(seen[0], seen[1]).length(), 10.0);  // the needle moved with the speed
  EXPECT_GT(QLineF(seen[1], seen[2]).length(), 10.0);
}

TEST_F(RendererTest, HigherOrdersDrawOverLowerOnesAndAlphaBlends) {
  // The EB lamp (order 53) over the panel (order 0).
  SpriteScene scene;
  scene.add(*cab.session->sprites().find("img_Lamp_EB")).visible = true;
  scene.add(*cab.session->sprites().find("img_Panel")).visible = true;  // made later, drawn first
  const Sprite& lamp = *scene.find("img_Lamp_EB");
  const CatalogPicture& p = picture("img_Lamp_EB");
  renderer.render(bare(), scene, view);
  const int cx = p.picture->width / 2, cy = p.picture->height / 2;
  EXPECT_EQ(test::rgbAt(view, static_cast<int>(lamp.x) + cx, static_cast<int>(lamp.y) + cy),
            p.picture->at(cx, cy) & 0xFFFFFFu);
  // A stop line at alpha 64 over grey, stretched across the view.
  SpriteScene line = only("img_unten_teimokuM");
  Sprite& m = *line.find("img_unten_teimokuM");
  m.y = 300;
  renderer.render(bare(&grey), line, view);
  const Picture& stripe = *picture("img_unten_teimokuM").picture;
  ASSERT_EQ(stripe.width, 800);
  for (int x : {5, 400, 795}) {
    const uint32_t colour = stripe.at(x, 1);
    const uint32_t shown = test::rgbAt(view, x, 301);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(channel(shown, shift), (channel(colour, shift) * 64 + 128 * 191) / 255.0, 1.5) << x;
  }
  m.height = 0;  // a line of no thickness is not drawn
  renderer.render(bare(&grey), line, view);
  EXPECT_EQ(test::rgbAt(view, 400, 301), 0x808080u);
}

// The box of the pixels of the view in `area` that satisfy `test`.
template <class Test>
QRect boxOf(const QImage& view, const QRect& area, Test test) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (test(test::rgbAt(view, x, y))) box = box.united(QRect(x, y, 1, 1));
  return box;
}

TEST_F(RendererTest, ATextAndItsShadowStandAtTheirPlaces) {
  CabFrame f = bare(&grey);
  f.texts = {{OverlaySlot::Speed, "123.4 km/h", 642, 506, 16, kTextBlack},
             {OverlaySlot::Speed, "123.4 km/h", 640, 504, 16, kTextWhite}};
  renderer.render(f, SpriteScene{}, view);
  const QFontMetrics metrics(overlayFont(16));
  const QRect area(600, 480, 200, 60);
  const QRect white = boxOf(view, area, [](uint32_t c) { return channel(c, 0) > 0xE0; });
  const QRect black = boxOf(view, area, [](uint32_t c) { return channel(c, 0) < 0x20; });
  ASSERT_FALSE(white.isEmpty());
  ASSERT_FALSE(black.isEmpty());
  // The cell's top-left is the place; the glyphs stand inside the cell, give or take the
  // bearings of a bold italic face.
  EXPECT_GE(white.left(), 639);
  EXPECT_LE(white.left(), 640 + 8);
  EXPECT_GE(white.top(), 504 - 2);
  EXPECT_LE(white.bottom(), 504 + metrics.height());
  EXPECT_NEAR(white.right(), 640 + metrics.horizontalAdvance(QStringLiteral("123.4 km/h")), 6);
  // The shadow lies 2 px right and down of the white text.
  EXPECT_NEAR(black.right() - white.right(), 2, 1);
  EXPECT_NEAR(black.bottom() - white.bottom(), 2, 1);
}

TEST_F(RendererTest, TheKilometrePostAndTheClockOnThePanel) {
  CabFrame f = bare();
  f.kilometrePost = KilometrePost{"396.9", 0xAAAAAA, 8, 490, 91};
  ClockFace face;
  face.drawn = true;
  face.hour = {25, 13};    // 12 o'clock, 12 px
  face.minute = {45, 25};  // 3 o'clock, 20 px
  face.second = {25, 45};  // 6 o'clock
  f.clock = face;
  f.clockX = 550;
  f.clockY = 606;
  const Picture white = filled(800, 600, 0xFFFFFFFFu);
  renderer.render(f, SpriteScene{}, view);
  const QRect post = boxOf(view, QRect(0, 600, 800, 160), [](uint32_t c) { return c != 0; });
  ASSERT_FALSE(post.isEmpty());
  EXPECT_NEAR(post.left(), 490, 3);
  EXPECT_GE(post.top(), 691);
  EXPECT_LE(post.bottom(), 691 + pixelSizeOfPoints(8) + 4);
  int brightest = 0;
  for (int y = post.top(); y <= post.bottom(); ++y)
    for (int x = post.left(); x <= post.right(); ++x)
      brightest = std::max(brightest, channel(test::rgbAt(view, x, y), 8));
  EXPECT_NEAR(brightest, 0xAA, 4);  // grey, never brighter
  // The hands are black lines: drawn on a white movie frame reaching into the clock's place.
  CabFrame c = bare(&white);
  c.H = 700;
  c.clock = face;
  c.clockX = 550;
  c.clockY = 606;
  renderer.render(c, SpriteScene{}, view);
  for (auto [x, y] : {std::pair{25, 13}, {25, 20}, {45, 25}, {35, 25}, {25, 45}})
    EXPECT_EQ(test::rgbAt(view, 550 + x, 606 + y), 0u) << x << "," << y;
  EXPECT_EQ(test::rgbAt(view, 550 + 35, 606 + 35), 0xFFFFFFu);  // between the hands: the picture
}

TEST_F(RendererTest, TunnelAndFadeDarkenByTheirAlpha) {
  SpriteScene panel = only("img_Panel");
  CabFrame f = bare(&grey);
  f.tunnelAlpha = 80;
  renderer.render(f, panel, view);
  EXPECT_NEAR(channel(test::rgbAt(view, 400, 300), 8), 128 * 175 / 255.0, 1.5);
  const uint32_t panelPixel = test::rgbAt(view, 400, 700);
  EXPECT_EQ(panelPixel, picture("img_Panel").picture->at(400, 100) & 0xFFFFFFu);  // the panel is not darkened
  f.tunnelAlpha = 0;
  f.fadeAlpha = 101;
  renderer.render(f, panel, view);
  EXPECT_NEAR(channel(test::rgbAt(view, 400, 300), 8), 128 * 154 / 255.0, 1.5);
  EXPECT_NEAR(channel(test::rgbAt(view, 400, 700), 8), channel(panelPixel, 8) * 154 / 255.0, 1.5);
  f.fadeAlpha = 255;
  renderer.render(f, panel, view);
  EXPECT_EQ(test::rgbAt(view, 400, 300), 0u);
  EXPECT_EQ(test::rgbAt(view, 10, 759), 0u);
}

TEST_F(RendererTest, TheStillCoversTheSpritesInTheMovieArea) {
  SpriteScene scene;
  scene.add(*cab.session->sprites().find("img_unten_limit")).visible = true;
  scene.add(*cab.session->sprites().find("img_Panel")).visible = true;
  CabFrame f = bare(&grey);
  f.still = true;
  f.texts = {{OverlaySlot::Speed, "no", 10, 10, 16, kTextWhite}};  // a still carries no texts
  renderer.render(f, scene, view);
  const Sprite& limit = *scene.find("img_unten_limit");
  EXPECT_EQ(test::rgbAt(view, static_cast<int>(limit.x) + 5, static_cast<int>(limit.y) + 5), 0x808080u);
  EXPECT_EQ(test::rgbAt(view, 400, 700), picture("img_Panel").picture->at(400, 100) & 0xFFFFFFu);
}

// WCAG's relative luminance and contrast ratio of two colours (1 the same, 21 black on white).
double luminance(uint32_t rgb) {
  const auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(channel(rgb, 16)) + 0.7152 * linear(channel(rgb, 8)) +
         0.0722 * linear(channel(rgb, 0));
}
double contrast(uint32_t a, uint32_t b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every needle of every demo train, drawn over its panel at angles across the face of its dial,
// stands out from the dial beneath: the median contrast of the shaft's pixels is at least 3:1.
TEST(DemoNeedles, EveryNeedleStandsOutFromTheDialUnderIt) {
  for (const char* train :
       {"train_313-1000_8cars.dat", "train_313-1000_10cars.dat", "train_383.dat", "train_kiha25.dat"}) {
    test::DemoCab cab("line_local.dat", train);
    CabRenderer renderer(cab.loaded.pictures);
    QImage bare = CabRenderer::makeView(), drawn = CabRenderer::makeView();
    SpriteScene panel;
    panel.add(*cab.session->sprites().find("img_Panel")).visible = true;
    renderer.render(CabFrame{}, panel, bare);
    int needles = 0;
    for (const char* name : {"img_Needle_speed", "img_Needle_BC", "img_Needle_MR", "img_Needle_ER",
                             "img_Needle_BP", "img_Needle_SAP", "img_Needle_V", "img_Needle_I"}) {
      const Sprite* needle = cab.session->sprites().find(name);
      if (!needle) continue;
      ++needles;
      for (int angle : {200, 224, 32, 56}) {  // across the face, between the scale's figures
        SpriteScene scene = panel;
        Sprite& s = scene.add(*needle);
        s.visible = true;
        s.angle = angle;
        renderer.render(CabFrame{}, scene, drawn);
        // The shaft: the pixels it changes away from the hub it turns on.
        const QPointF hub(std::floor(s.x) + s.width / 2.0, std::floor(s.y) + s.height / 2.0);
        std::vector<double> ratios;
        for (int y = static_cast<int>(s.y); y < static_cast<int>(s.y) + s.height; ++y)
          for (int x = static_cast<int>(s.x); x < static_cast<int>(s.x) + s.width; ++x)
            if (test::rgbAt(drawn, x, y) != test::rgbAt(bare, x, y) &&
                QLineF(hub, QPointF(x + 0.5, y + 0.5)).length() > 8)
              ratios.push_back(contrast(test::rgbAt(drawn, x, y), test::rgbAt(bare, x, y)));
        ASSERT_GT(ratios.size(), 20u) << train << " " << name << " at " << angle;
        std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
        EXPECT_GE(ratios[ratios.size() / 2], 3.0) << train << " " << name << " at " << angle;
      }
    }
    EXPECT_GE(needles, 3) << train;
  }
}

TEST(SpriteImagesTest, TheTransparentColourIsMatchedWithoutItsAlpha) {
  const Picture p{3, 1, {0xFFFF00FFu, 0x80FF00FFu, 0xFF123456u}};
  const QImage keyed = imageOf(p, true, 0x00FF00FFu);
  EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(keyed.pixel(1, 0)), 0);
  EXPECT_EQ(keyed.pixel(2, 0), 0xFF123456u);
  EXPECT_EQ(qAlpha(imageOf(p).pixel(0, 0)), 255);  // not transparent: drawn as it is
}

}  // namespace
}  // namespace kestrel
