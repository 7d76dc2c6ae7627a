#include "core/sim/pilot_lamps.h"

namespace kestrel {

namespace {

bool finLampLit(const DriveContext& ctx) {
  const auto& rows = ctx.vehicle.CurrentP;
  const int32_t step = ctx.train.resistStep;
  const int32_t count = static_cast<int32_t>(rows.size());
  if (step < 1 || step >= count) return false;
  // On the last row there is no next row: its notch counts as different (a row beyond holds 0).
  if (step + 1 >= count) return true;
  return rows[static_cast<size_t>(step + 1)].notch != rows[static_cast<size_t>(step)].notch;
}

}  // namespace

void updatePilotLamps(DriveContext& ctx) {
  const TrainState& t = ctx.train;
  const ControlState& c = ctx.control;
  const int32_t nB = ctx.nB();
  const bool serviceNotch = -nB < t.brakeNotch && t.brakeNotch < 0;
  const bool electricBraking = serviceNotch && t.elecBrakeCurrent > 0;
  const bool doorsAllow = ctx.doorInterlockAllows();
  SpriteScene& s = ctx.sprites;

  s.setVisible("img_Lamp_Power", t.powerNotch >= 1 && doorsAllow);
  s.setVisible("img_Lamp_fin", finLampLit(ctx));
  s.setVisible("img_Lamp_Ele", doorsAllow && (t.powerNotch >= 1 || electricBraking));

  bool gen = (c.holdEngaged && t.resistForce.raw() > 0 && t.elecBrakeCurrent > 0) || electricBraking;
  if (c.powerHandle >= 1 && t.netForce.raw() < 0 &&
      c.powerHandle <= static_cast<int32_t>(ctx.vehicle.Notch.size()) &&
      ctx.vehicle.Notch[static_cast<size_t>(c.powerHandle - 1)].A < 0)
    gen = true;
  s.setVisible("img_Lamp_Gen", gen);
  s.setVisible("img_Lamp_const", c.constSpeed);
  s.setVisible("img_Lamp_Air", serviceNotch);
}

}  // namespace kestrel
