// The animations beside the line and the level-crossing picture.
#include "core/present/lineside_pictures.h"

namespace kestrel::lineside {

namespace {

constexpr int32_t kSteps = 14;  // 0 to 13

template <class Row>
bool holds(const Row& row, int32_t frame) {
  return row.start() <= frame && frame < row.end();
}

}  // namespace

void updateAnimations(DriveContext& ctx) {
  const auto& rows = ctx.line.Anim;
  auto& steps = ctx.train.lineside.animations;
  if (steps.size() != rows.size()) steps.assign(rows.size(), AnimationSteps{});
  const int32_t frame = ctx.train.MovieFrame;
  Sprite* sprite = ctx.sprites.find(kAnimListName);
  if (sprite) sprite->visible = false;
  bool shown = false;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!holds(rows[i], frame)) continue;
    AnimationSteps& a = steps[i];
    if (++a.ticks > rows[i].ticksPerStep()) {
      a.ticks = 0;
      a.step = (a.step + 1) % kSteps;
    }
    if (sprite && !shown) {
      sprite->pattern = rows[i].firstPattern() + a.step;
      sprite->visible = true;
      shown = true;
    }
  }
}

void updateCrossingPicture(DriveContext& ctx) {
  Sprite* sprite = ctx.sprites.find(kCrossListName);
  if (!sprite) return;
  sprite->visible = false;
  for (const IntRow<5>& row : ctx.line.Cross) {
    if (!(row.f(1) <= ctx.train.MovieFrame && ctx.train.MovieFrame < row.f(2))) continue;
    sprite->pattern = row.f(3);
    sprite->visible = true;
    return;
  }
}

}  // namespace kestrel::lineside
