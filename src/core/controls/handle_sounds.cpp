#include "core/controls/handle_sounds.h"

#include <cmath>
#include <cstdlib>

#include "core/ports/mixer_actions.h"

namespace kestrel {

namespace {

void play(Mixer& mixer, std::optional<int32_t> channel) {
  if (channel) playIfSilent(mixer, *channel);
}

void brakeSounds(DriveContext& ctx) {
  const VehicleParams& v = ctx.vehicle;
  const int32_t nB = ctx.nB();
  const int32_t handle = ctx.control.brakeHandle, notch = ctx.train.brakeNotch;
  Mixer& mixer = ctx.mixer;
  // Moving towards braking past the delayed notch silences the brake sounds.
  if (handle < notch)
    for (const auto* list : {&v.Sound_BK, &v.Sound_BR, &v.Sound_BA})
      for (int32_t i = 0; i < nB; ++i)
        if (auto s = soundEntry(*list, i)) mixer.stop(*s);

  const int32_t step = std::abs(notch);
  if (v.BrakeType == 0) {
    if (handle == 0 && notch < 0)
      play(mixer, soundEntry(v.Sound_BK, step - 1));
    else if (notch < handle)
      play(mixer, soundEntry(v.Sound_BR, step - 1));
    else if (-nB < handle && handle < notch)
      play(mixer, soundEntry(v.Sound_BA, step));
    return;
  }
  if (handle == -nB && handle < notch && std::fabs(ctx.train.speed) > 15) {
    const auto emergency = soundEntry(v.Sound_BA, nB);
    if (emergency && !mixer.isPlaying(*emergency))
      if (auto s = soundEntry(v.Sound_BA, step)) restartOnce(mixer, *s);
  } else if (-nB <= handle && handle < notch) {
    play(mixer, soundEntry(v.Sound_BA, step));
  }
}

void powerSounds(DriveContext& ctx) {
  const VehicleParams& v = ctx.vehicle;
  const int32_t handle = ctx.control.powerHandle, notch = ctx.train.powerNotch;
  if (handle == 0 && notch >= 1)
    play(ctx.mixer, powerOffSound(v, notch));
  else if (handle > notch)
    play(ctx.mixer, soundEntry(v.Sound_PA, handle - 1));
  else if (handle < notch)
    play(ctx.mixer, soundEntry(v.Sound_PA, handle));
}

}  // namespace

std::optional<int32_t> powerOffSound(const VehicleParams& vehicle, int32_t notch) {
  if (auto entry = soundEntry(vehicle.Sound_PR, notch - 1)) return entry;
  return soundEntry(vehicle.Sound_PR, 0);
}

void playHandleSounds(DriveContext& ctx) {
  brakeSounds(ctx);
  powerSounds(ctx);
}

}  // namespace kestrel
