#include "core/controls/key_handlers.h"

#include <cmath>

#include "core/controls/control_operations.h"
#include "core/controls/driver_keys.h"
#include "core/controls/handle_sounds.h"
#include "core/controls/mascon_update.h"
#include "core/ports/mixer_actions.h"

namespace kestrel {

namespace {

// The frame keys move the train within the main movie: before its first frame or past its last
// (when its length is known) there is no picture and no end of the line to stop at.
int32_t frameWithinMovie(const TrainState& t, int32_t frame) {
  if (frame < 0) return 0;
  const int32_t last = t.movie.movieLastFrame;
  return last > 0 && frame > last ? last : frame;
}

void handleKey(DriveContext& ctx, char32_t key) {
  switch (key) {
    case U'8':
      CombinedUp(ctx);
      return;
    case U'2':
      CombinedDown(ctx);
      return;
    case U'5':
      HandlesOff(ctx);
      return;
    case U'0':
      Emergency(ctx, true);
      return;
    default:
      break;
  }
  if (ctx.vehicle.Handle == 0) {
    if (key == U'z')
      CombinedUp(ctx);
    else if (key == U'a')
      CombinedDown(ctx);
    else if (key == U'q')
      Emergency(ctx, true);
  } else if (ctx.vehicle.Handle == 1) {
    if (key == U'z')
      PowerUp(ctx);
    else if (key == U'a')
      PowerDown(ctx);
    else if (key == U',')
      BrakeRelease(ctx);
    else if (key == U'.')
      BrakeApply(ctx);
    else if (key == U'/')
      Emergency(ctx, false);
  }
}

void otherKey(DriveContext& ctx, char32_t key) {
  const VehicleParams& v = ctx.vehicle;
  TrainState& t = ctx.train;
  KeyState& k = ctx.keys;
  const int32_t oneMan = ctx.line.OneMan;
  if (key == U'3') {
    if (v.Sound_Horn4[0] != 0)
      k.hornHeld = k.hornPressed = true;
    else
      restartOnce(ctx.mixer, v.Sound_Horn);
  }
  if (key == U'6') restartOnce(ctx.mixer, v.Sound_Horn2);
  if (key == U'4') k.buzzerHeld = k.buzzerPressed = true;
  if ((key == U'd' || key == U'7') && oneMan > 0) doorKey(ctx);
  if (key == U'r' && ctx.control.brakeHandle == -ctx.nB() && std::fabs(t.speed) < 0.1) atsReset(ctx);
  if (key == U' ' && v.ATS_Type == 0) atsAcknowledge(ctx);
  if ((key == U'c' || key == U'1') && oneMan == 1) nextAnnouncement(ctx);
  if (key == U'-' && oneMan == 1) previousAnnouncement(ctx);
  if ((key == U'9' || key == U'w') && ctx.control.powerHandle == 0) CycleMode(ctx);
  if (key == U't') EngageConstSpeed(ctx);
  if (v.Engine_Type == 0 && v.Gear_Type == 1 && (key == U'w' || key == U's' || key == U'x')) {
    t.targetGear = key == U'w' ? 2 : (key == U's' ? 0 : 1);
    masconupdate(ctx);
  }
}

}  // namespace

void resetVigilance(DriveContext& ctx) {
  ctx.train.vigilanceTicks = 0;
  ctx.mixer.stop(ctx.vehicle.Sound_EBring);
  ctx.sprites.setVisible("img_Lamp_EB", false);
}

void AsciiDown(DriveContext& ctx, char32_t key) {
  // 1. Any typed character counts as driver activity for the vigilance device.
  resetVigilance(ctx);
  // 2. The swap flag exchanges "2" and "8" before anything else looks at them.
  if (ctx.program.swapKeys) {
    if (key == U'2')
      key = U'8';
    else if (key == U'8')
      key = U'2';
  }
  // 3. Reverser.
  if (key == U'f' || key == U'b' || key == U'n') {
    SetReverser(ctx, key == U'f' ? 1 : (key == U'b' ? -1 : 0));
    masconupdate(ctx);
  }
  handleKey(ctx, key);    // 4
  masconupdate(ctx);      // 5
  otherKey(ctx, key);     // 6
  updateModeText(ctx);    // 7
  playHandleSounds(ctx);  // 8
}

void keydowns(DriveContext& ctx, VirtualKey key, KeyModifiers modifiers) {
  TrainState& t = ctx.train;
  KeyState& k = ctx.keys;
  const bool shift = modifiers.shiftOnly();
  switch (key) {
    case VirtualKey::Backspace:
      if (!ctx.line.MovieStop.empty()) {
        const int32_t stop = ctx.line.MovieStop[0];
        if (std::fabs(t.speed) < 0.1 && stop - 200 < t.MovieFrame && t.MovieFrame <= stop) {
          t.MovieFrame = stop + 2;  // turn back at the end of the line
          t.MovieDirection = 1;
        }
      }
      break;
    case VirtualKey::ScrollLock:
      ctx.program.swapKeys = !ctx.program.swapKeys;
      break;
    case VirtualKey::Up:
      if (shift && k.cabDisplayTop >= -149) k.cabDisplayTop -= 50;
      break;
    case VirtualKey::Down:
      if (shift && k.cabDisplayTop < 0) k.cabDisplayTop += 50;
      break;
    case VirtualKey::Enter:
      calloutKey(ctx);
      break;
    case VirtualKey::F1:
      k.autoRun = shift;
      break;
    case VirtualKey::F11:
      if (shift && t.speed > 10) t.speed -= 10;
      break;
    case VirtualKey::F12:
      if (shift && t.speed < 1000) t.speed += 10;
      break;
    case VirtualKey::F10:
      if (shift) t.TickCounter += 900;
      break;
    case VirtualKey::F9:
      if (shift) t.TickCounter -= 900;
      break;
    case VirtualKey::F8:
    case VirtualKey::F7:
    case VirtualKey::F6:
    case VirtualKey::F5:
      if (shift && t.MovieMode == 0) {
        const bool forward = key == VirtualKey::F8 || key == VirtualKey::F6;
        const bool big = key == VirtualKey::F8 || key == VirtualKey::F7;
        t.TickCounter += (forward ? 1 : -1) * (big ? 900 : 90);
        t.MovieFrame = frameWithinMovie(t, t.MovieFrame + (forward ? 1 : -1) * (big ? 1000 : 100));
      }
      break;
    case VirtualKey::F2:
      t.engineKey = shift ? 2 : 1;
      break;
    case VirtualKey::F3:
      if (shift) skipToNextSignal(ctx);
      k.valueDisplayVisible = !k.valueDisplayVisible;
      break;
    case VirtualKey::PageUp:
    case VirtualKey::PageDown:
      if (!t.doorsOpen) {
        const bool down = key == VirtualKey::PageDown;
        k.doorSide = down ? 1 : 0;
        k.oneManText = ctx.settings.Doors[down ? 1 : 0];
        ctx.sprites.setVisible("img_other2", down);
      }
      break;
    case VirtualKey::F4:
      break;
  }
}

void keyups(DriveContext& ctx, VirtualKey key) {
  if (key == VirtualKey::F2) ctx.train.engineKey = 0;
}

void keyupChar(DriveContext& ctx, char32_t key) {
  if (key == U'3') ctx.keys.hornHeld = false;
  if (key == U'4') ctx.keys.buzzerHeld = false;
}

void WheelD(DriveContext& ctx) {
  ctx.keys.postedCharacters.push_back(U'8');
}

void WheelU(DriveContext& ctx) {
  ctx.keys.postedCharacters.push_back(ctx.control.brakeHandle == 1 - ctx.nB() ? U'0' : U'2');
}

void deliverPostedCharacters(DriveContext& ctx) {
  auto& queue = ctx.keys.postedCharacters;
  while (!queue.empty()) {
    const char32_t c = queue.front();
    queue.pop_front();
    if (c == U'\r') keydowns(ctx, VirtualKey::Enter, KeyModifiers::none());  // a posted Enter key
    AsciiDown(ctx, c);
  }
}

}  // namespace kestrel
