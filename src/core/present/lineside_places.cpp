// Where the line-side pictures stand, and their state at the drive's start and after a jump.
#include "core/present/lineside_pictures.h"
#include "core/util/rounding.h"

namespace kestrel::lineside {

namespace {

void place(SpriteScene& sprites, const char* name, double x, double y) {
  if (Sprite* s = sprites.find(name)) {
    s->x = x;
    s->y = y;
  }
}

void hideAll(SpriteScene& sprites) {
  for (const char* name : {kAnimListName, kTrafficSignalListName, kCrossListName})
    sprites.setVisible(name, false);
}

}  // namespace

void setUpLineside(DriveContext& ctx) {
  const double W = ctx.settings.Disp.DisplayWidth, H = ctx.settings.Disp.MovieHeight;
  const SignalImage& signal = ctx.line.SignalImageList[0];
  place(ctx.sprites, kTrafficSignalListName, signal.x + roundHalfEven(W * 0.25),
        signal.y + roundHalfEven(H * 0.1));
  place(ctx.sprites, kAnimListName, roundHalfEven(W * 0.4), roundHalfEven(H * 0.1));
  place(ctx.sprites, kCrossListName, 0, roundHalfEven(H * 0.55));

  startTrafficLights(ctx);
  resetLineside(ctx);
}

void resetLineside(DriveContext& ctx) {
  LinesideState& s = ctx.train.lineside;
  s.indicatorCell = -1;
  s.indicatorNotice = false;
  s.animations.assign(ctx.line.Anim.size(), AnimationSteps{});
  hideAll(ctx.sprites);
}

}  // namespace kestrel::lineside
