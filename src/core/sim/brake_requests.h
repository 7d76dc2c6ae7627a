#pragma once
// How the protection rules (ATS, the vigilance device, rollback protection) ask for the brake: they
// set autoEmergency or autoService and raise the pending flags, so that the brake notches take the
// request after their delays (the brake system's notch delays read the two flags).
#include "core/state/train_state.h"

namespace kestrel {

// The three brake pending flags: brake, straight-air and electric-brake notch.
inline void raiseBrakePending(TrainState& t) {
  t.brakePending = t.sapPending = t.ebPending = true;
}

// All four: the power notch too.
inline void raiseAllPending(TrainState& t) {
  t.powerPending = true;
  raiseBrakePending(t);
}

}  // namespace kestrel
