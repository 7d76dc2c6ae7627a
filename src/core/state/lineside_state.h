#pragma once
// The working values of the line-side pictures that the line file's picture lists show (held in
// TrainState as `lineside`): the cycle of every traffic light with the cab indicator and notice it
// drives, and the step counter of every animation. What the pictures show lives in their sprites.
#include <cstdint>
#include <vector>

namespace kestrel {

// One [TrafficSignal] row's fixed cycle.
struct TrafficLightCycle {
  int32_t phase = 0;      // 0 to 5: phases 1 to 6 of the row
  int32_t remaining = 0;  // ticks left in the phase; the next phase starts when it falls below 1
  // The phase whose picture the light shows: the last one entered whose duration is not 0
  // (a phase of duration 0 leaves the previous picture standing).
  int32_t litPhase = 0;
};

// One [Anim] row's step counter.
struct AnimationSteps {
  int32_t ticks = 0;  // ticks since the last step while the row holds the train
  int32_t step = 0;   // 0 to 13
};

struct LinesideState {
  std::vector<TrafficLightCycle> lights;  // per [TrafficSignal] row
  // The [Lamp_signal] cell a traffic light asks of the cab indicator ("img_cabsignal"), -1 none;
  // and whether its notice shows (in the phases whose flag is not 1).
  int32_t indicatorCell = -1;
  bool indicatorNotice = false;
  std::vector<AnimationSteps> animations;  // per [Anim] row
};

}  // namespace kestrel
