#include "core/controls/gamepad_scan.h"

#include <iterator>
#include <limits>
#include <string>
#include <utility>

#include "core/controls/control_operations.h"
#include "core/controls/key_handlers.h"
#include "core/controls/mascon_update.h"

namespace kestrel {

namespace {

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// A position read from an axis: lo < value < hi. The bounds themselves belong to no position, so
// an axis standing exactly on one leaves the handle where it is.
struct AxisBand {
  int64_t lo, hi;
  int32_t position;
};

// The Windows controller's power handle: Y >= 0 is off (handled apart), then ever more negative.
constexpr AxisBand kWindowsPower[] = {
    {-5000, 0, 1}, {-12000, -5000, 2}, {-20000, -12000, 3}, {-30000, -20000, 4}, {kMin, -30000, 5},
};
// Its brake handle: X < 1 is released, then steps 1 to 9.
constexpr AxisBand kWindowsBrake[] = {
    {kMin, 1, 0},    {0, 1000, 1},     {1000, 4000, 2},   {4000, 6000, 3},   {6000, 8000, 4},
    {8000, 9500, 5}, {9500, 11000, 6}, {11000, 12000, 7}, {12000, 13000, 8}, {13000, kMax, 9},
};

const AxisBand* bandOf(const AxisBand* begin, const AxisBand* end, int64_t value) {
  for (const AxisBand* b = begin; b != end; ++b)
    if (b->lo < value && value < b->hi) return b;
  return nullptr;
}

void post(DriveContext& ctx, char32_t c) {
  ctx.keys.postedCharacters.push_back(c);
}

void windowsGo(DriveContext& ctx, const GamepadState& s) {
  if (s.y >= 0)
    SetPower(ctx, 0);
  else if (const AxisBand* b = bandOf(std::begin(kWindowsPower), std::end(kWindowsPower), s.y))
    SetPower(ctx, b->position);
  if (const AxisBand* b = bandOf(std::begin(kWindowsBrake), std::end(kWindowsBrake), s.x))
    SetBrake(ctx, b->position);
  // Power mode, announcement, horn, doors, the call-out key (Enter), gear neutral.
  static constexpr char32_t kButtonKeys[] = {U'9', U'1', U'3', U'7', U'\r', U's'};
  for (size_t i = 0; i < std::size(kButtonKeys); ++i)
    if (s.buttons[i]) post(ctx, kButtonKeys[i]);
}

void psGo(DriveContext& ctx, const GamepadState& s, const PadWords& w) {
  const ControllerCodes& codes = ctx.settings.controller;
  const int64_t c = int64_t{s.x} + s.y + w.B;
  for (size_t n = 0; n < codes.P.size(); ++n) {
    if (codes.P[n] != c) continue;
    SetPower(ctx, static_cast<int32_t>(n));
    break;
  }
  bool braked = false;
  for (size_t n = 0; n < codes.B.size() && !braked; ++n) {
    if (codes.B[n] != w.L) continue;
    SetBrake(ctx, static_cast<int32_t>(n));
    braked = true;
  }
  if (!braked && codes.EB == w.L) SetBrake(ctx, 9);
  // Announcement, horn, doors, power mode, ATS reset.
  static constexpr std::pair<size_t, char32_t> kButtonKeys[] = {
      {9, U'1'}, {1, U'3'}, {2, U'7'}, {3, U'9'}, {8, U'r'}};
  for (const auto& [button, key] : kButtonKeys)
    if (s.buttons[button]) post(ctx, key);
}

// The OHC-PC01 reports its handle as a combination of the lever word and the button word.
struct Combination {
  int64_t L, B;
  int32_t position;
};
constexpr Combination kOhcPower[] = {{4, 16, 0},  {4, 48, 1},  {12, 0, 2},
                                     {12, 32, 3}, {12, 16, 4}, {12, 48, 5}};
constexpr Combination kOhcBrake[] = {{4, 16, 0}, {4, 32, 1}, {4, 0, 2},  {8, 48, 3}, {8, 16, 4},
                                     {8, 32, 5}, {8, 0, 6},  {0, 48, 7}, {0, 16, 8}, {0, 32, 9}};

template <size_t N>
const Combination* combinationOf(const Combination (&table)[N], const PadWords& w) {
  for (const Combination& c : table)
    if (c.L == w.L && c.B == w.B) return &c;
  return nullptr;
}

void ohc(DriveContext& ctx, const GamepadState& s, const PadWords& w) {
  if (const Combination* c = combinationOf(kOhcPower, w)) SetPower(ctx, c->position);
  if (const Combination* c = combinationOf(kOhcBrake, w)) SetBrake(ctx, c->position);
  ctx.keys.hornHeld = s.buttons[0];
  if (s.buttons[2]) post(ctx, U'7');
  post(ctx, s.y < 0 ? U'f' : (s.y == 0 ? U'n' : U'b'));
}

}  // namespace

PadWords padWords(const GamepadState& s) {
  static constexpr int64_t kButtonBits[16] = {1, 2, 4, 8, 0, 0, 0, 0, 16, 32, 64, 128, 256, 512, 1024, 2048};
  static constexpr int64_t kLeverBits[16] = {0, 0, 0, 0, 1, 2, 4, 8};
  PadWords w;
  for (size_t i = 0; i < s.buttons.size(); ++i) {
    if (!s.buttons[i]) continue;
    w.B += kButtonBits[i];
    w.L += kLeverBits[i];
  }
  w.S = int64_t{s.x} + s.y + w.B + w.L;
  return w;
}

std::string padDebugCaption(const GamepadState& s) {
  return "X:" + std::to_string(s.x) + " Y:" + std::to_string(s.y);
}

void USBScan(DriveContext& ctx, GamepadPoller& poller) {
  ProgramInputState& program = ctx.program;
  if (program.controllerKind == ControllerKind::Standard) return;  // the keyboard alone: no polling
  const GamepadState s = poller.poll();
  const PadWords w = padWords(s);
  if (w.S == program.lastPadSignature) return;  // nothing changed, as far as the signature tells
  // A handle moved: the whole driver-activity reset, so that a ringing vigilance bell stops too.
  resetVigilance(ctx);
  switch (program.controllerKind) {
    case ControllerKind::WindowsGo:
      windowsGo(ctx, s);
      break;
    case ControllerKind::PsGo:
      psGo(ctx, s, w);
      break;
    case ControllerKind::Ohc:
      ohc(ctx, s, w);
      break;
    case ControllerKind::Standard:
      break;  // not polled
  }
  masconupdate(ctx);
  if (ctx.keys.padDebug) ctx.keys.padDebugCaption = padDebugCaption(s);
  program.lastPadSignature = w.S;
}

}  // namespace kestrel
