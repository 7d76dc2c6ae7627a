// The signal pictures and the cab-signal picture.
#include "core/ports/mixer_actions.h"
#include "core/present/trackside_pictures.h"

namespace kestrel::trackside {

namespace {

constexpr const char* kSignal = "img_unten_signal";
constexpr const char* kSub = "img_unten_signal_S";
constexpr const char* kLeft = "img_unten_signal_L";
constexpr const char* kRight = "img_unten_signal_R";

void clearPatterns(SpriteScene& sprites) {
  for (const char* name : {kSignal, kSub, kLeft, kRight}) sprites.setPattern(name, 0);
}

void moveTo(SpriteScene& sprites, const char* name, int32_t x, int32_t y) {
  if (Sprite* s = sprites.find(name)) {
    s->x = x;
    s->y = y;
  }
}

// [ATS_Type] 0 and 1: the pictures stand where the signal row puts them.
void drawTrackside(DriveContext& ctx, const SignalRow& row, int32_t code) {
  SpriteScene& sprites = ctx.sprites;
  const int32_t ox = ctx.line.SignalImageList[0].x, oy = ctx.line.SignalImageList[0].y;
  clearPatterns(sprites);
  moveTo(sprites, kSignal, row.f(12) + ox, row.f(13) + oy);
  moveTo(sprites, kLeft, row.f(15) + ox, row.f(16) + oy);
  moveTo(sprites, kRight, row.f(18) + ox, row.f(19) + oy);
  moveTo(sprites, kSub, row.f(20) + ox, row.f(21) + oy);
  if (row.kind() >= 9) return;
  sprites.setPattern(kSignal, code);
  sprites.setPattern(kSub, row.f(2));
  if (row.f(14) >= 1) sprites.setPattern(kLeft, row.f(14));
  if (row.f(17) >= 1) sprites.setPattern(kRight, row.f(17));
}

// [ATS_Type] 2: the code rings the ATC bell and shows on the cab signal; only kind 9 signals have
// a trackside picture.
void drawCabSignalling(DriveContext& ctx, const SignalRow& row, int32_t code) {
  restartOnce(ctx.mixer, ctx.vehicle.Sound_Atc);
  clearPatterns(ctx.sprites);
  if (row.kind() == 9) {
    ctx.sprites.setPattern(kSignal, code);
    ctx.sprites.setPattern(kSub, row.f(2));
  }
  ctx.train.trackside.cabSignalPattern = code < 35 ? -1 : code - 35;
}

// A speed-check section first, then the cab signalling of [ATS_Type] 2, then a traffic light's
// indicator.
void cabSignalPicture(DriveContext& ctx) {
  const int32_t check = ctx.train.signals.speedCheckImage;
  int32_t cell = check;
  if (cell < 0 && ctx.vehicle.ATS_Type == 2) cell = ctx.train.trackside.cabSignalPattern;
  if (cell < 0) cell = ctx.train.lineside.indicatorCell;
  ctx.sprites.setVisible("img_cabsignal", cell >= 0);
  if (cell >= 0) ctx.sprites.setPattern("img_cabsignal", cell);
}

}  // namespace

void updateSignalPictures(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const int32_t code = t.currentCode;
  if (code != t.trackside.lastSignalCode) {
    t.trackside.lastSignalCode = code;
    const int32_t signal = t.signals.currentSignal;
    if (code == kNone999 || signal < 0) {
      clearPatterns(ctx.sprites);
    } else {
      const SignalRow& row = ctx.line.Signal[static_cast<size_t>(signal)];
      if (ctx.vehicle.ATS_Type == 2)
        drawCabSignalling(ctx, row, code);
      else
        drawTrackside(ctx, row, code);
    }
  }
  cabSignalPicture(ctx);
}

}  // namespace kestrel::trackside
