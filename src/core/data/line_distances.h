#pragma once
// The frame-to-distance conversion of the line file, run once after all files and pictures are
// loaded: the cumulative [SpeedUnit] distances, the distances of signals, speed limits, speed
// checks, stations, traffic signals, Doppler sources and tunnels, and the merged event list.
#include <optional>
#include <string>
#include <vector>

#include "core/data/line_data.h"

namespace kestrel {

// Distance in centimetres of position f within a [SpeedUnit] row that starts at distance
// `rowStartCm`: the mean of the filming speeds at the row's start and at f, in cm/s, times the
// movie time (f - start) / 30 s, rounded half away from zero.
double speedUnitDistance(const SpeedUnitRow& row, double rowStartCm, double f);

// The distance a [SpeedUnit] row adds to the rows after it: (A + B) x (end - start) / 2.16,
// rounded half away from zero.
double speedUnitRowLengthCm(const SpeedUnitRow& row);

// The distance of `frame` where the train stands at it: in the last row that holds it
// (start <= frame < end, as the frame advance looks rows up), from the end distance of the row
// before. nullopt when no row holds it.
std::optional<double> frameDistanceCm(const std::vector<SpeedUnitRow>& rows, int32_t frame);

// Fills every derived distance and the merged event list (signals, kind 2, value 10, then speed
// limits, value = limit, kind = field 3; in [SpeedUnit] row order; each entry once). A position
// on the boundary of two rows lies in both; the later row's value stands (each row overwrites
// what an earlier one stored).
// Positions outside every row keep distance 0 and enter no event; for each table with such
// positions one warning is appended.
void convertLineDistances(LineData& line, std::vector<std::string>* warnings = nullptr);

}  // namespace kestrel
