#include "core/sim/doors.h"

#include <cmath>

#include "core/ports/mixer_actions.h"

namespace kestrel {

namespace {

bool oneManLine(const DriveContext& ctx) {
  return ctx.line.OneMan > 0;
}

}  // namespace

bool oneManAnnouncementAllows(const DriveContext& ctx) {
  const Announce& a = ctx.line.AnnounceTable;
  if (ctx.mixer.isPlaying(ctx.environmentChannel(a.first))) return false;
  for (const AnnounceRow& row : a.rows)
    if (ctx.mixer.isPlaying(ctx.environmentChannel(row.sound))) return false;
  return true;
}

void setDoorLamp(DriveContext& ctx, bool lit) {
  ctx.train.stations.doorLampLit = lit;
  ctx.sprites.setVisible("img_Lamp_Door", lit);
}

void Door_operate(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const bool oneMan = oneManLine(ctx);
  t.doorsCommandedOpen = false;
  if (oneMan) ctx.keys.oneManText.clear();
  if (!t.doorsOpen && std::fabs(t.speed) >= 0.1) return;
  const bool sound = !oneMan || oneManAnnouncementAllows(ctx);
  if (!t.doorsOpen) {
    t.doorsCommandedOpen = true;
    t.doorsOpen = true;
    if (sound) restartOnce(ctx.mixer, ctx.vehicle.Sound_DoorOpen);
    setDoorLamp(ctx, false);
    t.stations.doorText = kDoorsOpenText;
  } else {
    if (sound) restartOnce(ctx.mixer, ctx.vehicle.Sound_DoorClose);
    t.stations.doorText = kDoorsClosingText;
  }
}

void runDoors(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  if (!t.doorsCommandedOpen && !t.stations.doorLampLit && !ctx.mixer.isPlaying(v.Sound_DoorOpen) &&
      !ctx.mixer.isPlaying(v.Sound_DoorClose)) {
    setDoorLamp(ctx, true);
    t.doorsOpen = false;
    t.stations.doorText.clear();
    restartOnce(ctx.mixer, v.DepSign);
    t.stations.departures += 1;
    // The doors-closed clip goes first, then the station's own rows of kind 2.
    ctx.callouts.kanko_queue_add(19);
    ctx.callouts.StationKanko(3);
  }
  if (std::fabs(t.speed) > 5 && t.doorsOpen && t.doorsCommandedOpen) Door_operate(ctx);
}

void closeDoorsAtRest(DriveContext& ctx) {
  ctx.train.doorsOpen = false;
  ctx.train.doorsCommandedOpen = false;
  ctx.train.stations.doorText.clear();
  setDoorLamp(ctx, true);
}

}  // namespace kestrel
