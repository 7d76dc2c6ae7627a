#pragma once
// Type 1 ATS: the speed pattern (protection on, [ATS_Type] 1, reverser forward).
//
// Beacons lie before every entry of the merged event list, in the windows (59000, 60000],
// (27000, 28000], (17000, 18000], (12000, 13000], (7500, 8500], (4000, 5000] and (1500, 2000] cm.
// Passing one sets the pattern towards its entry: a signal at stop (target 10 km/h), a station
// stop not yet made (the entry's value), a speed check (value + 10). The brake pattern Vb and the
// warning pattern Vw fall towards the target; the speed against them gives the pattern state:
// 1 warning, 2 speed-pattern brake (ends below target - 10), 3 stop-pattern brake (held until the
// driver resets the ATS). The states' lamps, brake requests and messages follow.
//
// One pattern stands at a time. A beacon replaces it only with a pattern that is at least as
// restrictive where the train is (or with the same entry's), so that a beacon far ahead never
// lifts the protection of a nearer target; and a pattern ends once its target is passed: the
// station's stop made, the speed check's entry within 500 cm, the signal behind the train.
#include <cstdint>
#include <string>

#include "core/state/drive_context.h"

namespace kestrel {

// The beacon window (0 = farthest .. 6) that holds r, or -1.
int32_t beaconWindow(double rCm);
// Vb and Vw for target P at r cm from the entry, B1 the first [BrakeRate] value, before their
// floors and caps.
int32_t brakePatternSpeed(double P, double rCm, double B1);
int32_t warningPatternSpeed(double P, double rCm, double B1);

void runSpeedPattern(DriveContext& ctx);
// The stop pattern towards signal `signal`, if that is the pattern standing, is erased (the
// signal no longer shows stop).
void cancelSignalPattern(DriveContext& ctx, int32_t signal);
// Appends to the value display's message list (the oldest lines go beyond its capacity).
void logAtsMessage(SignalState& s, std::string message);

}  // namespace kestrel
