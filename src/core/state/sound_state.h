#pragma once
// The working values of the sound rules: what each position-bound sound has done on this pass,
// the levels of the motor and engine sounds, the attenuation in force, and the phases of the
// sounds that follow a held key. One instance per drive, a member of TrainState.
#include <cstdint>
#include <vector>

namespace kestrel {

struct SoundState {
  std::vector<bool> soundStarted;        // per [Sound] row: started on this pass
  std::vector<bool> switchSounded;       // per [Switch] row: the points have sounded
  std::vector<double> motorSpeedFactor;  // per [EngineSound1] row
  std::vector<int32_t> motorLevel;       // per [EngineSound1] row, 0 to 100
  int32_t motorMaster = 0;               // master level of the motor or engine sounds, 0 to 100
  double attenuation = 1.0;              // factor of the [Atten] row last entered

  // The [Sound_Horn4] sequence while the horn key is held: attack, sustain, release.
  enum class HornPhase { Idle, Attack, Sustain };
  HornPhase hornPhase = HornPhase::Idle;
  bool buzzerSounding = false;     // the buzzer loop was started by the held key
  bool lastAutoEmergency = false;  // the emergency sound plays when the automatic brake comes on

  // Forgets what the position-bound sounds did (a new run, a station jump, a restored state).
  void clearPositionFlags() {
    soundStarted.assign(soundStarted.size(), false);
    switchSounded.assign(switchSounded.size(), false);
  }
};

}  // namespace kestrel
