#pragma once
// Signal aspects and signal codes (tick stage 9). Every signal shows clear (n - 1, n the number of
// [Speed_Signal] steps) unless the preceding train holds it: the signal behind the preceding train
// shows stop and the signals behind it step up one aspect each, as their kind allows. Control modes
// then fix the aspect of single signals. The aspect of the signal whose approach section holds the
// train, through the code table, gives currentCode — the cab lamps, the signal pictures, the
// call-outs and the ATS read it.
#include <cstdint>
#include <optional>

#include "core/state/drive_context.h"

namespace kestrel {

// CODE[kind][aspect] of the code table; [MaxSpeed] >= 161 turns aspect 5 of kinds 7 and 8 into
// 29 and 34. nullopt for a kind outside 0 .. 9 or an aspect outside 0 .. 5.
std::optional<int32_t> signalCodeFor(int32_t kind, int32_t aspect, int32_t maxSpeed);

// Kind 0 and -1 rows are section boundaries without a signal head.
inline bool hasSignalHead(const SignalRow& row) {
  return row.kind() != 0 && row.kind() != -1;
}

// Every signal's aspect from the preceding train, then the control modes.
void updateSignalAspects(DriveContext& ctx);
// Every signal's code; currentSignal and currentCode of the approach section that holds the
// train (999 when none, and within 15 frames of the signal itself).
void updateSignalCodes(DriveContext& ctx);

}  // namespace kestrel
