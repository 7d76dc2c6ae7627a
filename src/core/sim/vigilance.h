#pragma once
// The vigilance device ([EB] 1; not with the automatic run or with the resistance switched off):
// the ticks of a moving train (above 1 km/h) since the driver's last key are counted; after 600
// the ring [Sound_EBring] sounds and [Lamp_EB] lights, after 650 the ring stops, the count starts
// again and the emergency brake is requested. Any typed key resets it (the key handlers).
#include "core/state/drive_context.h"

namespace kestrel {

void runVigilance(DriveContext& ctx);
// The start of a drive: no count, the lamp dark.
void setUpVigilance(DriveContext& ctx);

}  // namespace kestrel
