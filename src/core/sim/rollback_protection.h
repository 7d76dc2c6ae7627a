#pragma once
// Rollback protection ([Back] 1): a train running backwards against its reverser faster than
// 7 km/h is stopped by the emergency brake, with the ATC sound ([Sound_Atc]) once.
#include "core/state/drive_context.h"

namespace kestrel {

void rollbackProtection(DriveContext& ctx);

}  // namespace kestrel
