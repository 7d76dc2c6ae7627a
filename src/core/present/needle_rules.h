#pragma once
// The cab panel's needles and the digital speed. A needle's angle is an integer whose low byte
// counts 256ths of a full turn clockwise; values in degrees become turns through K = 255 / 360
// (not 256 / 360: the panels were drawn for it). Every round() here is half away from zero.
//
// The speed needle and the digital speed follow the tick; the pressure, voltage and current
// needles and the two linear gauges follow the train on every drawn frame.
#include <cstdint>
#include <optional>

#include "core/data/panel_layout.h"
#include "core/state/drive_context.h"

namespace kestrel::needles {

inline constexpr double kK = 255.0 / 360.0;

// The speed needle at speed v (km/h): nothing at |v| >= 160, nor for backward speeds below 1 km/h;
// with a low-speed scale k2 the scale bends at 10 km/h.
std::optional<int32_t> speedAngle(const NeedleSection& n, double v);
// One pressure needle on a fixed-point value (raw, x 10000): round((p f + a0 10000) K / 10000).
int32_t fixedAngle(const NeedleSection& n, int64_t raw);
// The brake-pipe needle on a decimal pressure: round((bp f + a0) K).
int32_t decimalAngle(const NeedleSection& n, double value);
// The ammeter: the shown current after one approach step towards the target.
int32_t ammeterStep(int32_t shown, int32_t target);
// The ammeter's angle by the section's mode; nothing for a mode the panel does not know.
std::optional<int32_t> ammeterAngle(const NeedleSection& n, int32_t shown, int32_t reverser);
// A linear gauge's y: base - round(k p / 10000), p fixed-point raw.
int32_t linearY(const LinearGauge& g, int64_t raw);

// Tick, stage TickCount: the speed needle and the digital speed ("img_digi_speed" shown, its
// pattern |round(v)| below 200 km/h; at 200 km/h or more it keeps its last pattern).
void updateSpeedNeedle(DriveContext& ctx);

// What the frame needles remember between two drawn frames: the ammeter's shown current.
struct FrameNeedleState {
  int32_t shownCurrent = 0;
};

// Every drawn frame: ammeter, voltmeter, BC, BP, MR, SAP and ER needles, and the linear BC and MR
// gauges. A needle whose sprite does not exist is skipped.
void updateFrameNeedles(DriveContext& ctx, FrameNeedleState& state);

}  // namespace kestrel::needles
