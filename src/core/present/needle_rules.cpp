#include "core/present/needle_rules.h"

#include <cmath>
#include <cstdlib>

#include "core/util/rounding.h"

namespace kestrel::needles {

namespace {

// The BC needle's extra offset on a vehicle without motor-car cylinders ([Mc] 0) and the MR
// needle's second value: the brake model supplies neither, so both gauges show the plain pressure.
constexpr int64_t kBcNeedleOffsetKpa = 0;
constexpr int64_t kMrNeedleExtraRaw = 0;

void setAngle(SpriteScene& sprites, const char* name, int32_t angle) {
  if (Sprite* s = sprites.find(name)) s->angle = angle;
}

int64_t brakeCylinderRaw(const DriveContext& ctx) {
  return ctx.vehicle.Mc == 1 ? ctx.train.bcMotor.raw() : ctx.train.bcTrailer.raw();
}

}  // namespace

std::optional<int32_t> speedAngle(const NeedleSection& n, double v) {
  const double a = std::fabs(v);
  if (a >= 160 || (v < 0 && a < 1)) return std::nullopt;
  if (n.k2 == 0) return roundHalfAway((a * n.k + n.a0) * kK);
  if (a < 10) return roundHalfAway((a * n.k2 + n.a0) * kK);
  return roundHalfAway((a * n.k + n.a0 - (n.k - n.k2) * 10) * kK);
}

int32_t fixedAngle(const NeedleSection& n, int64_t raw) {
  return roundHalfAway((static_cast<double>(raw) * n.k + n.a0 * 10000) * kK / 10000);
}

int32_t decimalAngle(const NeedleSection& n, double value) {
  return roundHalfAway((value * n.k + n.a0) * kK);
}

int32_t ammeterStep(int32_t shown, int32_t target) {
  // Two tests in this order: the needle overshoots on the way up and settles back.
  const double t = target;
  int32_t c = shown;
  if (std::abs(c) < std::abs(target)) c = roundHalfAway(t + std::fabs(t - c) / 2);
  if (std::abs(c) > std::abs(target)) c = roundHalfAway(t - std::fabs(t - c) / 2);
  return c;
}

std::optional<int32_t> ammeterAngle(const NeedleSection& n, int32_t shown, int32_t reverser) {
  switch (n.mode) {
    case 0:
      return roundHalfAway((shown * n.k + n.a0) * kK * reverser);
    case 1:
      return roundHalfAway((std::abs(shown) * n.k + n.a0) * kK * reverser);
    case 2:
      return roundHalfAway(n.a0);  // the raw zero angle, not converted
    default:
      return std::nullopt;
  }
}

int32_t linearY(const LinearGauge& g, int64_t raw) {
  // The difference is exact in a double; a gauge whose base and scale put the bar beyond the
  // 32-bit range stops at its end.
  return detail::saturateToInt32(g.baseY - static_cast<double>(roundHalfAway(g.k * static_cast<double>(raw) / 10000)));
}

void updateSpeedNeedle(DriveContext& ctx) {
  const double v = ctx.train.speed;
  if (ctx.sprites.has("img_Needle_speed"))
    if (auto angle = speedAngle(ctx.panel.Needle_Speed, v)) setAngle(ctx.sprites, "img_Needle_speed", *angle);
  if (Sprite* digits = ctx.sprites.find("img_digi_speed")) {
    digits->visible = true;
    const int32_t r = roundHalfAway(v);
    if (r < 200) digits->pattern = std::abs(r);
  }
}

void updateFrameNeedles(DriveContext& ctx, FrameNeedleState& state) {
  const TrainState& t = ctx.train;
  const PanelLayout& p = ctx.panel;
  SpriteScene& sprites = ctx.sprites;
  if (sprites.has("img_Needle_I")) {
    state.shownCurrent = ammeterStep(state.shownCurrent, t.ammeter);
    if (auto angle = ammeterAngle(p.Needle_I, state.shownCurrent, ctx.control.reverser))
      setAngle(sprites, "img_Needle_I", *angle);
  }
  setAngle(sprites, "img_Needle_V", fixedAngle(p.Needle_V, t.lineVoltage.raw()));
  const int64_t bc = brakeCylinderRaw(ctx);
  const int64_t bcOffset = ctx.vehicle.Mc == 1 ? 0 : kBcNeedleOffsetKpa * 10000;
  setAngle(sprites, "img_Needle_BC", fixedAngle(p.Needle_BC, bcOffset + bc));
  setAngle(sprites, "img_Needle_BP", decimalAngle(p.Needle_BP, t.bpPressure));
  setAngle(sprites, "img_Needle_MR", fixedAngle(p.Needle_MR, t.mrPressure.raw() + kMrNeedleExtraRaw));
  setAngle(sprites, "img_Needle_SAP", fixedAngle(p.Needle_SAP, t.sapPressure.raw()));
  setAngle(sprites, "img_Needle_ER", fixedAngle(p.Needle_ER, t.erPressure.raw()));
  if (Sprite* s = sprites.find("img_Needle_BC_L")) s->y = linearY(p.Needle_BC_L, bc);
  if (Sprite* s = sprites.find("img_Needle_MR_L")) s->y = linearY(p.Needle_MR_L, t.mrPressure.raw());
}

}  // namespace kestrel::needles
