#pragma once
// Type 2 ATS, the cab-signal speed control ([ATS_Type] 2, every tick: the cab signal is the
// train's signalling, so it acts also with the ATS preference off): while the code of the
// signal ahead is 22 .. 29 and the speed is above the [Speed_Signal] step c - 22 less 0.4 km/h,
// the brake acts — emergency for code 22, full service otherwise — and it is released once no
// step is exceeded. A code whose step the line does not give checks nothing.
#include "core/state/drive_context.h"

namespace kestrel {

void cabSignalControl(DriveContext& ctx);

}  // namespace kestrel
