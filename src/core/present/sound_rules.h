#pragma once
// The sound rules of the tick: each reads the drive's state and sets what the mixer's channels
// play. Channel numbers follow SoundLayout.
#include "core/state/drive_context.h"

namespace kestrel::sound {

// The working values sized to the tables of the drive (motor levels start at 100).
SoundState& prepare(DriveContext& ctx);

// Tick stage SquealAndLamps: the brake squeal.
void brakeSqueal(DriveContext& ctx);

// Tick stage BrakeAndAirSounds: the emergency-brake sound, the held horn and buzzer.
void brakeAndAirSounds(DriveContext& ctx);
void emergencySound(DriveContext& ctx);
void hornSequence(DriveContext& ctx);
void buzzer(DriveContext& ctx);

// Tick stage LineSounds, in this order.
void lineSounds(DriveContext& ctx);
void attenuation(DriveContext& ctx);
void environmentSounds(DriveContext& ctx);
void pointSounds(DriveContext& ctx);
void dopplerSounds(DriveContext& ctx);
void motorSounds(DriveContext& ctx);   // electric trains
void engineSounds(DriveContext& ctx);  // diesel railcars, with the engine's idle sound

// The section sound of [Sound2], at the station call-out moments: type 5 (the doors close at the
// end of the dwell) starts it, type 1 (the doors open at a stop) at the last station stops it.
void sectionSound(DriveContext& ctx, int stationCalloutType);

// Stopping all sounds (end of line, movie start, station jump, restore): every channel from 1
// upwards that holds a wave; channel 0 keeps playing.
void stopAllSounds(Mixer& mixer);
// Forgets which position-bound sounds have sounded on this pass ([Sound] and [Switch] rows).
void clearPositionFlags(DriveContext& ctx);

}  // namespace kestrel::sound
