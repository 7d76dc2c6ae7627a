// The sounds placed along the line: attenuation zones, environment sounds, points, Doppler
// sources and the section sound; and stopping them all.
#include <cmath>
#include <cstdlib>

#include "core/present/sound_rules.h"
#include "core/present/sound_volume.h"

namespace kestrel::sound {

namespace {

template <class T>
void fit(std::vector<T>& v, size_t n, T value) {
  if (v.size() != n) v.assign(n, value);
}

}  // namespace

SoundState& prepare(DriveContext& ctx) {
  SoundState& s = ctx.train.sound;
  fit(s.soundStarted, ctx.line.Sound.size(), false);
  fit(s.switchSounded, ctx.line.Switch.size(), false);
  fit(s.motorSpeedFactor, ctx.vehicle.EngineSound1.size(), 1.0);
  fit(s.motorLevel, ctx.vehicle.EngineSound1.size(), int32_t{100});
  return s;
}

void lineSounds(DriveContext& ctx) {
  attenuation(ctx);
  environmentSounds(ctx);
  pointSounds(ctx);
  dopplerSounds(ctx);
  if (ctx.vehicle.Engine_Type == 1)
    motorSounds(ctx);
  else
    engineSounds(ctx);
}

void attenuation(DriveContext& ctx) {
  const int32_t f = ctx.train.MovieFrame;
  for (const IntRow<4>& row : ctx.line.Atten)
    if (row.f(1) < f && f < row.f(2)) ctx.train.sound.attenuation = row.f(4) / 100.0;
}

void environmentSounds(DriveContext& ctx) {
  SoundState& s = prepare(ctx);
  Mixer& mixer = ctx.mixer;
  const double v = ctx.train.speed;
  const int32_t f = ctx.train.MovieFrame;
  for (size_t i = 0; i < ctx.line.Sound.size(); ++i) {
    const IntRow<8>& row = ctx.line.Sound[i];
    const int32_t channel = ctx.environmentChannel(row.f(1));
    const int32_t start = row.f(2), end = row.f(3), R = row.f(4), loop = row.f(5);
    const int32_t mode = row.f(8);
    if (mode == 1) {
      if (start < f && f < end && !s.soundStarted[i] && R >= roundHalfAway(v)) {
        mixer.stop(channel);
        mixer.playOnce(channel);
        s.soundStarted[i] = true;
      }
      continue;
    }
    if (mode != 0) continue;
    // A reference speed of 0 has no pitch or level to scale: the recording as it is.
    const double ratio = row.f(6) != 0 && R != 0 ? v / R : 1.0;
    const int32_t volume = v > 0 && row.f(7) == 1 && R != 0 ? logVolume(v * s.attenuation / R, 5000) : 0;
    if (std::abs(start - f) < 15) {
      mixer.setFrequencyRatio(channel, ratio);
      mixer.setVolume(channel, volume);
      if (!s.soundStarted[i]) {
        mixer.stop(channel);
        if (loop >= 1)
          mixer.playLooped(channel);
        else
          mixer.playOnce(channel);
        s.soundStarted[i] = true;
      }
    }
    if (loop >= 1 && std::abs(end - f) < 10 && s.soundStarted[i]) mixer.stop(channel);
    if (start < f && f < end) {
      mixer.setFrequencyRatio(channel, ratio);
      mixer.setVolume(channel, v < 1 ? Mixer::kSilent : volume);
    }
  }
}

void pointSounds(DriveContext& ctx) {
  SoundState& s = prepare(ctx);
  const int32_t f = ctx.train.MovieFrame;
  for (size_t i = 0; i < ctx.line.Switch.size(); ++i) {
    const IntRow<2>& points = ctx.line.Switch[i];
    if (std::abs(points.f(1) - f) >= 15) continue;
    if (!s.switchSounded[i]) {
      for (const SwitchSoundRow& row : ctx.vehicle.SwitchSound) {
        if (row.threshold > ctx.train.speed && row.kind == points.f(2)) {
          ctx.mixer.stop(row.channel);
          ctx.mixer.playOnce(row.channel);
          break;
        }
      }
    }
    s.switchSounded[i] = true;
  }
}

void dopplerSounds(DriveContext& ctx) {
  Mixer& mixer = ctx.mixer;
  const double p = ctx.train.distanceRun;
  const double v = ctx.train.speed;
  bool anyInRange = false;
  for (const DopplerRow& row : ctx.line.Doppler) {
    const double ps = row.positionCm;
    const double range = row.f(3);
    const double away = std::fabs(p - ps);
    if (away > range) continue;
    anyInRange = true;
    const int32_t channel = ctx.environmentChannel(row.f(1));
    // No row sets a condition flag yet: a conditional source stays silent.
    const bool conditionHolds = row.f(5) == 0;
    if (!mixer.isPlaying(channel) && conditionHolds) {
      mixer.stop(channel);
      mixer.playLooped(channel);
    }
    if (row.f(4) == 0 && p != ps) {
      // 1220 km/h is the speed of sound; the source stands 300 cm beside the track.
      const double c = std::cos(std::atan(300.0 / (ps - p)));
      mixer.setFrequencyRatio(channel, p < ps ? 1220.0 / (1220.0 - c * v) : 1220.0 / (1220.0 + c * v));
    }
    mixer.setVolume(channel, range > 0 ? logVolume((range - away) / range, 2000) : Mixer::kSilent);
  }
  if (anyInRange) return;
  for (const DopplerRow& row : ctx.line.Doppler) {
    const int32_t channel = ctx.environmentChannel(row.f(1));
    if (mixer.isPlaying(channel)) mixer.stop(channel);
  }
}

void sectionSound(DriveContext& ctx, int stationCalloutType) {
  if (ctx.line.Sound2.size() != 1) return;
  const IntRow<3>& row = ctx.line.Sound2.front();
  const int32_t channel = ctx.environmentChannel(row.f(1));
  const int32_t l = ctx.train.stations.currentStation;
  if (stationCalloutType == 5 && row.f(2) <= l && l < row.f(3)) {
    if (!ctx.mixer.isPlaying(channel)) ctx.mixer.playLooped(channel);
  } else if (stationCalloutType == 1 && l == row.f(3)) {
    if (ctx.mixer.isPlaying(channel)) ctx.mixer.stop(channel);
  }
}

void stopAllSounds(Mixer& mixer) {
  for (int ch = 1; ch < Mixer::kChannelCount; ++ch)
    if (mixer.hasWave(ch)) mixer.stop(ch);
}

void clearPositionFlags(DriveContext& ctx) {
  prepare(ctx).clearPositionFlags();
}

}  // namespace kestrel::sound
