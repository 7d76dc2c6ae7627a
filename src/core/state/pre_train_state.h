#pragma once
// The preceding train (held in TrainState as `preTrain`): it runs ahead by its [Pre_Train]
// timetable, moving through the movie frames as the player's train does; the signals behind it
// show stop.
#include <cstdint>

namespace kestrel {

struct PreTrainState {
  int32_t preTrainFrame = 0;  // its frame; 0 when there is none
  double preTrainSpeed = 0;   // km/h, from its timetable row
  int32_t preTrainStep = 0;   // its filming-speed threshold, as UnitsPerFrame
  int32_t preTrainAccum = 0;  // its frame accumulator, as FrameStepAccumulator
};

}  // namespace kestrel
