#pragma once
// The [SpeedUnit] table that gives a movie's frames their distances: rows of filming speeds
// linear in the frame, as long as the distance they give by the line file's own rule stays within
// the tolerance of the target at every frame. Rows follow one another without gaps, each starting
// at the speed the row before ends with, so the movie's speed never jumps.
#include <cstdint>
#include <vector>

#include "core/data/line_data.h"

namespace kestrel::author {

struct FitTolerance {
  double fraction = 0.005;  // of the distance from the first frame
  double metres = 2;        // but never less than this
  double allowedCm(double distanceCm) const;
};

struct SpeedUnitFit {
  std::vector<SpeedUnitRow> rows;  // speeds rounded to hundredths, as the table prints them
  // Where the table comes nearest to its tolerance: the difference from the target by the rule,
  // and what the tolerance allows there.
  double worstCm = 0;
  int64_t worstFrame = 0;
  double worstAllowedCm = 0;
};

// `targetCm[f]`: the distance of frame f from frame 0 (non-decreasing, at least two frames). Rows
// join first where the speed bends; their speeds are fitted to the target by least squares over
// every frame; a row that leaves the tolerance is split where its speed bends most, until none
// does. The rows are held to half the tolerance, leaving the other half to the error of the
// target itself (GPS scatter, marks read off the picture).
SpeedUnitFit fitSpeedUnit(const std::vector<double>& targetCm, const FitTolerance& tolerance);

// The distance the rule gives every frame of `rows` (frames rows.front().start .. rows.back().end).
std::vector<double> speedUnitDistances(const std::vector<SpeedUnitRow>& rows);

}  // namespace kestrel::author
