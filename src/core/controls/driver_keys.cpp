#include "core/controls/driver_keys.h"

#include <cmath>

#include "core/controls/control_operations.h"
#include "core/ports/mixer_actions.h"
#include "core/sim/brake_requests.h"
#include "core/sim/doors.h"
#include "core/util/rounding.h"

namespace kestrel {

void atsReset(DriveContext& ctx) {
  TrainState& t = ctx.train;
  releaseAutoBrakes(ctx);
  ctx.mixer.stop(ctx.vehicle.Sound_Ats1);
  t.atsAcknowledged = true;
  t.atsAlarm = false;
  t.atsAlarmTicks = 0;
  t.atsAckLatch = false;
  ctx.sprites.setVisible("img_Lamp_Ats1", true);
  ctx.sprites.setVisible("img_Lamp_Ats2", false);
}

void atsAcknowledge(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  if (ctx.mixer.isPlaying(v.Sound_Ats2) && (t.checkSpeed != 998 || roundHalfAway(t.speed) == 0)) {
    ctx.mixer.stop(v.Sound_Ats2);
    restartOnce(ctx.mixer, v.Sound_Ats3);
  }
  if (t.atsAcknowledged) {
    t.atsAcknowledged = false;
    t.atsAlarm = false;
  }
  if (t.atsAlarm && ctx.control.brakeHandle < 0 && !t.autoEmergency) {
    // The lap position of the brake valve does not count as braking.
    if (v.BrakeType == 0 && ctx.control.brakeHandle == -1) return;
    t.atsAlarm = false;
    t.atsAcknowledged = true;
    t.atsAlarmTicks = 0;
    t.atsAckLatch = true;
    ctx.sprites.setVisible("img_Lamp_Ats1", true);
    ctx.sprites.setVisible("img_Lamp_Ats2", false);
  }
}

std::optional<int32_t> announcementChannel(const DriveContext& ctx, int32_t index) {
  const Announce& a = ctx.line.AnnounceTable;
  if (index < 0 || index > static_cast<int32_t>(a.rows.size())) return std::nullopt;
  const int32_t sound = index == 0 ? a.first : a.rows[static_cast<size_t>(index - 1)].sound;
  return ctx.environmentChannel(sound);
}

void nextAnnouncement(DriveContext& ctx) {
  KeyState& k = ctx.keys;
  const auto channel = announcementChannel(ctx, k.announceIndex);
  if (!channel || ctx.mixer.isPlaying(*channel)) return;
  if (k.announceIndex > 0)
    if (auto previous = announcementChannel(ctx, k.announceIndex - 1)) ctx.mixer.stop(*previous);
  restartOnce(ctx.mixer, *channel);
  const auto& stations = ctx.line.Station;
  if (k.announceIndex < static_cast<int32_t>(stations.size())) {
    const int32_t v = stations[static_cast<size_t>(k.announceIndex)].randomEvent();
    if (v != 0 && ctx.random.below(v) <= 10) {
      k.passengerArmed = true;
      k.passengerArmClock = ctx.train.TickCounter;
    }
  }
  k.announceIndex += 1;
}

void previousAnnouncement(DriveContext& ctx) {
  KeyState& k = ctx.keys;
  if (k.announceIndex <= 0) return;
  if (auto channel = announcementChannel(ctx, k.announceIndex - 1)) ctx.mixer.stop(*channel);
  k.announceIndex -= 1;
}

void showPassengerPicture(DriveContext& ctx) {
  KeyState& k = ctx.keys;
  if (k.announceIndex <= 0 || !k.passengerArmed) return;
  const auto& stations = ctx.line.Station;
  const size_t announced = static_cast<size_t>(k.announceIndex - 1);
  if (announced >= stations.size()) return;
  if (ctx.train.TickCounter > k.passengerArmClock + 3 * stations[announced].f(13)) {
    ctx.sprites.setVisible("img_other4", true);
    k.passengerArmed = false;
  }
}

void doorKey(DriveContext& ctx) {
  Door_operate(ctx);
}

void calloutKey(DriveContext& ctx) {
  ctx.callouts.calloutKey();
}
void skipToNextSignal(DriveContext& ctx) {
  const auto& rows = ctx.line.Signal;
  TrainState& t = ctx.train;
  int32_t next = -1;
  for (size_t i = 0; i + 1 < rows.size(); ++i)
    if (rows[i].approachStart() <= t.MovieFrame && t.MovieFrame < rows[i + 1].approachStart())
      next = rows[i + 1].approachStart();
  if (next < 0) return;
  t.callout.clearSignalMarkers();
  t.MovieFrame = next - 10;
}

}  // namespace kestrel
