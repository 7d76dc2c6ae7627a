#pragma once
// The pending flags that start the vehicle's notch delays (the 33 ms event hands the handle over
// to the effective notch once its delay has run out). The control operations raise them after a
// handle change, the protection rules after an automatic brake request.
#include "core/state/train_state.h"

namespace kestrel {

// The power notch.
inline void raisePower(TrainState& t) {
  t.powerPending = true;
}
// The three brake notches: brake, straight-air and electric brake.
inline void raiseBrake(TrainState& t) {
  t.brakePending = t.sapPending = t.ebPending = true;
}
// All four.
inline void raiseAll(TrainState& t) {
  raisePower(t);
  raiseBrake(t);
}

}  // namespace kestrel
