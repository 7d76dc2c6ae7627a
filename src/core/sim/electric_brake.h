#pragma once
// The electric (dynamic) brake current, once per tick: the rate model ([Brake_Type] 1) and the
// table model ([Brake_Type] 0, [CurrentB] rows with the [BrakeCurr] limits). While it carries
// current it shows -current on the ammeter.
#include "core/state/drive_context.h"

namespace kestrel::brakes {

void updateElectricBrake(DriveContext& ctx);
void electricBrakeRateModel(DriveContext& ctx);
void electricBrakeTableModel(DriveContext& ctx);

}  // namespace kestrel::brakes
