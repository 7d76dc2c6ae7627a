#pragma once
// The stop-approach chime: the [Stop] sound rings (again whenever it has ended) while the train
// is moving and its braking distance at 2.5 km/h/s (v / 5 x v / 3.6 m) reaches to within 125 m of
// the stopping position — from the braking point on, and over the last 125 m. A train standing
// at its stop hears nothing.
#include "core/state/drive_context.h"

namespace kestrel {

// The braking distance reaches the stopping position less 125 m (also the notices' condition).
bool stopApproachDue(const TrainState& t);

void stopApproachChime(DriveContext& ctx);

}  // namespace kestrel
