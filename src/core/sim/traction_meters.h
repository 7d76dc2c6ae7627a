#pragma once
// The tick's traction values: voltmeter, the resistance steps of the current-table model, and the
// ammeter (which the electric brake then overrides while it carries current).
#include "core/state/drive_context.h"

namespace kestrel::traction {

void updateVoltmeter(DriveContext& ctx);
void updateResistanceSteps(DriveContext& ctx);
void updateAmmeter(DriveContext& ctx);

}  // namespace kestrel::traction
