// The sounds of the train's own equipment that the tick runs: the brake squeal, the emergency
// brake, and the horn and buzzer while their keys are held.
#include <cmath>

#include "core/ports/mixer_actions.h"
#include "core/present/sound_rules.h"
#include "core/present/sound_volume.h"

namespace kestrel::sound {

namespace {

// Lowers the squeal by `step` while it is -5999 or louder, and stops it below -5000: also one
// that started quieter than -5999 (released at a low pressure), which would otherwise loop
// silently on its channel for good.
void fadeSqueal(Mixer& mixer, int32_t channel, int32_t step) {
  int32_t volume = mixer.volume(channel);
  if (volume >= -5999) {
    volume -= step;
    mixer.setVolume(channel, volume);
  }
  if (volume < -5000 && mixer.isPlaying(channel)) mixer.stop(channel);
}

// Sound numbers of the optional sequences: 0 is "none", as for an absent key.
void stopIfSet(Mixer& mixer, int32_t channel) {
  if (channel != 0) mixer.stop(channel);
}

}  // namespace

void brakeSqueal(DriveContext& ctx) {
  Mixer& mixer = ctx.mixer;
  const int32_t s = ctx.vehicle.Sound_squeak;
  const int64_t b = ctx.train.bcTrailer.raw();  // fixed-point, x 10000
  const double v = std::fabs(ctx.train.speed);  // squeals alike when rolling back
  if (b > 0 && v > 1 && ctx.train.elecBrakeCurrent == 0) {
    if (!mixer.isPlaying(s)) mixer.playLooped(s);
    const double k = ctx.vehicle.Lose_elec;
    const double volume = k != 0 ? v * 500 / k / static_cast<double>(b) * -500 * 10000 : Mixer::kSilent;
    mixer.setVolume(s, volume <= Mixer::kSilent ? Mixer::kSilent : roundHalfAway(std::fmin(volume, 0)));
  }
  if (b == 0) fadeSqueal(mixer, s, 100);
  if (v < 1) fadeSqueal(mixer, s, 1000);
}

void brakeAndAirSounds(DriveContext& ctx) {
  emergencySound(ctx);
  hornSequence(ctx);
  buzzer(ctx);
}

void emergencySound(DriveContext& ctx) {
  SoundState& s = ctx.train.sound;
  const bool on = ctx.train.autoEmergency;
  if (on && !s.lastAutoEmergency && ctx.vehicle.Sound_EB[0] != 0)
    restartOnce(ctx.mixer, ctx.vehicle.Sound_EB[0]);
  s.lastAutoEmergency = on;
}

void hornSequence(DriveContext& ctx) {
  KeyState& k = ctx.keys;
  SoundState& s = ctx.train.sound;
  Mixer& mixer = ctx.mixer;
  const auto& h = ctx.vehicle.Sound_Horn4;  // attack, sustain, release; the rest unused
  const bool pressed = k.hornPressed || k.hornHeld;
  k.hornPressed = false;  // a press between two ticks counts once, even when already released
  if (h[0] == 0) return;  // the horn key plays [Sound_Horn] instead
  switch (s.hornPhase) {
    case SoundState::HornPhase::Idle:
      if (!pressed) return;
      stopIfSet(mixer, h[1]);
      stopIfSet(mixer, h[2]);
      restartOnce(mixer, h[0]);
      s.hornPhase = SoundState::HornPhase::Attack;
      return;
    case SoundState::HornPhase::Attack:
      if (mixer.isPlaying(h[0])) return;
      if (k.hornHeld && h[1] != 0) {
        mixer.playLooped(h[1]);
        s.hornPhase = SoundState::HornPhase::Sustain;
      } else if (!k.hornHeld) {
        if (h[2] != 0) restartOnce(mixer, h[2]);
        s.hornPhase = SoundState::HornPhase::Idle;
      }
      return;
    case SoundState::HornPhase::Sustain:
      if (k.hornHeld) return;
      mixer.stop(h[1]);
      if (h[2] != 0) restartOnce(mixer, h[2]);
      s.hornPhase = SoundState::HornPhase::Idle;
      return;
  }
}

void buzzer(DriveContext& ctx) {
  KeyState& k = ctx.keys;
  SoundState& s = ctx.train.sound;
  const int32_t b = ctx.vehicle.Buzzer;
  const bool on = k.buzzerHeld || k.buzzerPressed;
  k.buzzerPressed = false;
  if (on) {
    if (!ctx.mixer.isPlaying(b)) ctx.mixer.playLooped(b);
    s.buzzerSounding = true;
  } else if (s.buzzerSounding) {
    ctx.mixer.stop(b);
    s.buzzerSounding = false;
  }
}

}  // namespace kestrel::sound
