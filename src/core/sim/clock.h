#pragma once
// The simulated clock (tick stage 6): the clock text and the hands of the analogue clock.
#include <cstdint>
#include <string>

#include "core/state/drive_context.h"

namespace kestrel {

// "hh:mm:ss" of a TickCounter value (1/30 s since midnight).
std::string clockTextOf(int32_t tickCounter);

// Rebuilds clockText, and the clock face when the vehicle has a [Clock] section, whenever the
// seconds differ from those shown last.
void timecalc(DriveContext& ctx, int32_t tickCounter);

// The end of a hand of length `length` at `degrees` clockwise from twelve o'clock.
ClockHand clockHand(double length, double degrees);

}  // namespace kestrel
