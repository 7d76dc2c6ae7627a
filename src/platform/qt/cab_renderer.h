#pragma once
// Draws one described frame of the cab view, with the sprite scene, into the 800 x 760 view image
// with QPainter, in the render step's order: black; the movie surface (the frame scaled to W x H,
// the tunnel darkening, the texts); the sprites by drawing order; the kilometre post; the clock;
// the exit fade. FormActivate's still draws the sprites first and the still over them.
//
// Thread contract: the GUI thread.
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QStaticText>
#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "core/data/picture_catalog.h"
#include "core/present/cab_display.h"
#include "core/state/sprite_scene.h"
#include "platform/qt/sprite_images.h"

class QPainter;

namespace kestrel {

class CabRenderer {
 public:
  explicit CabRenderer(const PictureCatalog& catalog);

  // The view image the renderer draws into: kViewWidth x kViewHeight, opaque.
  static QImage makeView();
  void render(const CabFrame& frame, const SpriteScene& sprites, QImage& view);

 private:
  void drawMovieSurface(QPainter& p, const CabFrame& frame);
  void drawSprites(QPainter& p, const SpriteScene& sprites) const;
  void drawSprite(QPainter& p, const Sprite& sprite, const SpriteImage& image) const;
  const SpriteImage* imageFor(const Sprite& sprite) const;
  void drawTexts(QPainter& p, const CabFrame& frame);
  void drawKilometrePost(QPainter& p, const CabFrame& frame) const;
  static void drawClock(QPainter& p, const CabFrame& frame);
  const QFont& overlay(int32_t pointSize);

  SpriteImages images_;
  std::map<int32_t, QFont> overlayFonts_;
  // Overlay texts laid out, by point size and text.
  static constexpr size_t kTextsKept = 256;
  std::map<std::pair<int32_t, std::string>, QStaticText> texts_;

  // Turned pictures of the rotating sprites, by picture, cell, place, size and angle; dropped all
  // at once when they pass kTurnedBytes.
  struct TurnKey {
    const SpriteImage* image;
    int cellX, cellY, x, y, width, height, turn;
    auto operator<=>(const TurnKey&) const = default;
  };
  struct Turned {
    QImage image;
    QPoint at;
  };
  static constexpr qsizetype kTurnedBytes = 32 << 20;
  mutable std::map<TurnKey, Turned> turned_;
  mutable qsizetype turnedBytes_ = 0;
};

}  // namespace kestrel
