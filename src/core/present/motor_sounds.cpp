// The motor sounds of an electric train and the engine sounds of a diesel railcar: the
// [EngineSound1] rows on the motor channels, their pitch following the speed (or the engine
// speed), their level following the handles, under one master level. Speed factor, level and
// master level are percentages: their product over 1 000 000 is the share of full volume.
#include <cmath>

#include "core/present/sound_layout.h"
#include "core/present/sound_rules.h"
#include "core/present/sound_volume.h"

namespace kestrel::sound {

namespace {

int32_t motorChannel(const DriveContext& ctx, size_t row) {
  return SoundLayout::of(ctx.vehicle, ctx.line).motorBase() + static_cast<int32_t>(row);
}

// Whether an electric motor row of this type sounds at full level now.
bool electricRowActive(const DriveContext& ctx, int32_t type) {
  const int32_t brake = ctx.control.brakeHandle;
  const bool notEmergency = brake != -ctx.nB();
  switch (type) {
    case 0:
      return ctx.train.powerNotch >= 1;
    case 1:
      return brake < 0 && notEmergency;
    case 2:
      return notEmergency;
    default:
      return false;
  }
}

void startOrStop(Mixer& mixer, int32_t channel, bool sounding) {
  if (!sounding) {
    if (mixer.isPlaying(channel)) mixer.stop(channel);
  } else if (!mixer.isPlaying(channel)) {
    mixer.playLooped(channel);
  }
}

}  // namespace

void motorSounds(DriveContext& ctx) {
  SoundState& s = prepare(ctx);
  Mixer& mixer = ctx.mixer;
  const double v = ctx.train.speed;
  const auto& rows = ctx.vehicle.EngineSound1;
  for (size_t i = 0; i < rows.size(); ++i) {
    const EngineSound1Row& r = rows[i];
    if (r.s0 <= v && v <= r.s1) {
      mixer.setFrequencyRatio(motorChannel(ctx, i), interpolate(v, r.s0, r.s1, r.p0, r.p1));
      s.motorSpeedFactor[i] = interpolate(v, r.s0, r.s1, r.w0, r.w1);
    } else if (r.s1 < v && v <= r.s2) {
      mixer.setFrequencyRatio(motorChannel(ctx, i), interpolate(v, r.s1, r.s2, r.p1, r.p2));
      s.motorSpeedFactor[i] = interpolate(v, r.s1, r.s2, r.w1, r.w2);
    } else {
      s.motorSpeedFactor[i] = 1.0;
    }
    if (s.motorSpeedFactor[i] < 1) s.motorSpeedFactor[i] = 1.0;
    int32_t& level = s.motorLevel[i];
    if (electricRowActive(ctx, r.type))
      level = 100;
    else if (r.type != 3 && level > 11)
      level -= 10;
  }

  const ControlState& c = ctx.control;
  int32_t& m = s.motorMaster;
  if (ctx.train.powerNotch != 0 || c.brakeHandle != 0 || c.holdEngaged || c.holdExitGuard) {
    if (m < 85) m += 20;
  } else if (m > 15) {
    m -= 10;
  }
  if (m > 100) m = 100;

  for (size_t i = 0; i < rows.size(); ++i) {
    const int32_t level = s.motorLevel[i];
    const int32_t master = rows[i].type == 3 ? 100 : m;
    int32_t volume = logVolume(s.motorSpeedFactor[i] * level * master / 1000000.0, 1660);
    if (volume < -2999 || level <= 10) volume = Mixer::kSilent;
    const int32_t channel = motorChannel(ctx, i);
    mixer.setVolume(channel, volume);
    startOrStop(mixer, channel, level >= 5);
  }
}

void engineSounds(DriveContext& ctx) {
  SoundState& s = prepare(ctx);
  Mixer& mixer = ctx.mixer;
  const TrainState& t = ctx.train;
  const double r = t.engineSpeed;
  const auto& rows = ctx.vehicle.EngineSound1;
  for (size_t i = 0; i < rows.size(); ++i) {
    const EngineSound1Row& e = rows[i];
    const int32_t channel = motorChannel(ctx, i);
    const bool lowerEdge = e.s0 - 10 < r && r <= e.s0;
    const bool upperEdge = e.s2 <= r && r < e.s2 + 10;
    if ((e.s0 < r && r < e.s2) || lowerEdge || upperEdge) {
      mixer.setFrequencyRatio(channel, interpolate(r, e.s0, e.s2, e.p0, e.p2));
      if (lowerEdge)
        s.motorSpeedFactor[i] = e.w0 * (r - e.s0 + 10) / 10;
      else if (upperEdge)
        s.motorSpeedFactor[i] = e.w2 * (e.s2 + 10 - r) / 10;
      else
        s.motorSpeedFactor[i] = interpolate(r, e.s0, e.s2, e.w0, e.w2);
    } else {
      s.motorSpeedFactor[i] = 1.0;
    }
    int32_t& level = s.motorLevel[i];
    if (e.type >= 0)
      level = e.type == t.gear ? 100 : 1;
    else if (e.type == -1)
      level = 100;
    else if (e.type == -2 && ctx.control.brakeHandle < 0)
      level = 100;
  }

  int32_t& m = s.motorMaster;
  if (t.powerNotch >= 1 && t.engineState == 1 && t.shifting == 0) {
    if (m < 95) m += 5;
  } else if (t.powerNotch == 0 || t.shifting != 0) {
    if (m > 5) m -= 5;
  }

  for (size_t i = 0; i < rows.size(); ++i) {
    const int32_t channel = motorChannel(ctx, i);
    mixer.setVolume(channel, logVolume(s.motorSpeedFactor[i] * s.motorLevel[i] * m / 1000000.0, 1660));
    if (!mixer.isPlaying(channel)) mixer.playLooped(channel);
  }

  // The idle sound runs while the engine does (also while the stop key is being held); asking
  // the channel rather than remembering keeps it right after a pause or a station jump.
  // A vehicle without [EngineSound2] has no idle sound (0 is "none", not the first sound).
  const int32_t idle = ctx.vehicle.EngineSound2[0];
  if (idle == 0) return;
  const bool running = t.engineState == 1 || t.engineState == -2;
  if (running && !mixer.isPlaying(idle))
    mixer.playLooped(idle);
  else if (!running && mixer.isPlaying(idle))
    mixer.stop(idle);
}

}  // namespace kestrel::sound
