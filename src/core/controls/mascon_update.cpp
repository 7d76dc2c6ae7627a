#include "core/controls/mascon_update.h"

#include <cstdlib>
#include <string>

#include "core/controls/control_operations.h"

namespace kestrel {

namespace {

void reverserLamps(DriveContext& ctx) {
  ctx.sprites.setVisible("img_Lamp_Fwd", ctx.control.reverser == 1);
  ctx.sprites.setVisible("img_Lamp_Bck", ctx.control.reverser == -1);
}

void cancelConstSpeed(DriveContext& ctx) {
  ControlState& c = ctx.control;
  TrainState& t = ctx.train;
  if (!c.constSpeed) return;
  const bool cancel = c.brakeHandle == t.brakeNotch ? c.powerHandle != t.powerNotch : true;
  if (!cancel) return;
  c.constSpeed = false;
  t.powerNotch = c.powerHandle;
}

// Notching back from c1 + 1 to c1 at speed engages constant speed.
void engageConstSpeedByNotchingBack(DriveContext& ctx) {
  ControlState& c = ctx.control;
  const auto& cst = ctx.vehicle.Const;
  if (ctx.train.speed >= cst[1] && !c.constSpeed && cst[0] > 1 && c.powerHandle == cst[0] &&
      ctx.train.powerNotch == cst[0] + 1) {
    c.constSpeed = true;
    c.powerText = ctx.settings.Const;
  }
}

void powerText(DriveContext& ctx) {
  ControlState& c = ctx.control;
  if (c.constSpeed) {
    c.powerText = ctx.settings.Const;
  } else if (c.powerHandle == 0) {
    c.powerText = ctx.settings.Neut2;
  } else if (c.powerHandle > 0 && c.powerHandle <= ctx.vehicle.Power) {
    const auto& modes = ctx.vehicle.PowerMode;
    const std::string prefix = c.powerMode >= 0 && c.powerMode < static_cast<int32_t>(modes.size())
                                   ? modes[static_cast<size_t>(c.powerMode)].prefix
                                   : "";
    c.powerText = prefix + std::to_string(c.powerHandle - firstRowOfMode(ctx, c.powerMode));
  }
}

void brakeText(DriveContext& ctx) {
  ControlState& c = ctx.control;
  const SettingsData& s = ctx.settings;
  const int32_t nB = ctx.nB(), b = c.brakeHandle;
  if (b == -nB)
    c.brakeText = s.EB;
  else if (b == 0)
    c.brakeText = s.Neut;
  // The power text (step 6) is derived between steps 5 and 7; it never touches the brake text, so
  // both brake steps are taken here together.
  if (ctx.vehicle.BrakeType > 0 && -nB < b && b < 0 && !c.holdEngaged) c.brakeText = "B" + std::to_string(-b);
  if (c.holdEngaged) c.brakeText = s.Hold2;
  if (ctx.vehicle.BrakeType == 0) {
    if (b == -3)
      c.brakeText = s.Apply;
    else if (b == -2)
      c.brakeText = s.Hold;
    else if (b == -1)
      c.brakeText = s.Maintain;
    else if (b == -5)
      c.brakeText = s.Remove;
  }
}

void reverserText(DriveContext& ctx) {
  ControlState& c = ctx.control;
  const SettingsData& s = ctx.settings;
  c.reverserText = c.reverser == 1 ? s.Forward : (c.reverser == -1 ? s.Reverse : s.Neutral);
}

// The brake notch image of one pair; `powerVisible` is the pair's own rule.
void notchImages(DriveContext& ctx, const char* powerName, const char* brakeName, bool powerVisible) {
  ControlState& c = ctx.control;
  SpriteScene& sprites = ctx.sprites;
  sprites.setPattern(powerName, c.powerHandle);
  if (sprites.has(brakeName) && sprites.patternCount(brakeName) >= std::abs(c.brakeHandle) - 1) {
    if (ctx.vehicle.Hold == 0)
      sprites.setPattern(brakeName, -c.brakeHandle);
    else if (!c.holdEngaged)
      sprites.setPattern(brakeName, c.brakeHandle < 0 ? 1 - c.brakeHandle : 0);
    sprites.setVisible(powerName, powerVisible);
  }
  if (c.holdEngaged) sprites.setPattern(brakeName, 1);
}

void departureCallout(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (!t.doorsOpen && ctx.control.powerHandle > 0 && t.departureCalloutRequest) {
    t.departureCalloutRequest = false;
    t.departureCalloutDue = true;  // the call-out queue runs StationKanko kind 4
  }
}

void secondNotchImages(DriveContext& ctx) {
  const TrainState& t = ctx.train;
  const ControlState& c = ctx.control;
  SpriteScene& sprites = ctx.sprites;
  if (!t.autoEmergency && !t.autoService) {
    notchImages(ctx, "img_lamp_p2", "img_lamp_b2",
                ctx.vehicle.Handle == 1 || (c.brakeHandle >= 0 && !c.holdEngaged));
    return;
  }
  const int32_t frames = sprites.patternCount("img_lamp_b2");
  sprites.setPattern("img_lamp_b2", t.autoEmergency ? frames - 1 : frames - 2);
  sprites.setPattern("img_lamp_p2", 0);
  sprites.setVisible("img_lamp_p2", false);
}

}  // namespace

void updateModeText(DriveContext& ctx) {
  ControlState& c = ctx.control;
  const VehicleParams& v = ctx.vehicle;
  if (v.Engine_Type == 1) {
    c.modeText = c.powerMode >= 0 && c.powerMode < static_cast<int32_t>(v.PowerMode.size())
                     ? v.PowerMode[static_cast<size_t>(c.powerMode)].name
                     : "";
    return;
  }
  const auto& gears = ctx.settings.Gears;
  switch (ctx.train.targetGear) {
    case 0:
      c.modeText = gears[0];
      break;
    case 1:
      c.modeText = gears[1];
      break;
    case 2:
      c.modeText = v.Engine.size() == 3 ? gears[2] : gears[2] + "1";
      break;
    case 3:
      c.modeText = gears[2] + "2";
      break;
    case 4:
      c.modeText = gears[2] + "3";
      break;
    case 5:
      c.modeText = gears[2] + "4";
      break;
    default:
      break;
  }
}

void masconupdate(DriveContext& ctx) {
  ControlState& c = ctx.control;
  reverserLamps(ctx);                                                        // 1
  cancelConstSpeed(ctx);                                                     // 2
  engageConstSpeedByNotchingBack(ctx);                                       // 3
  if (c.constSpeed && (ctx.train.autoEmergency || ctx.train.autoService)) {  // 4
    c.constSpeed = false;
    ctx.train.powerNotch = c.powerHandle;
  }
  powerText(ctx);                                                                               // 6
  brakeText(ctx);                                                                               // 5, 7
  reverserText(ctx);                                                                            // 8
  ctx.sprites.setPattern("img_gearlever", ctx.train.targetGear);                                // 9
  notchImages(ctx, "img_lamp_p", "img_lamp_b", ctx.vehicle.Handle == 1 || c.brakeHandle >= 0);  // 10
  departureCallout(ctx);                                                                        // 11
  secondNotchImages(ctx);                                                                       // 12
  updateModeText(ctx);                                                                          // 13
}

}  // namespace kestrel
