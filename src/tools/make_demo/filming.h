#pragma once
// The virtual filming run: the speed at which the camera train ran along the route, the
// [SpeedUnit] table made from it, and the frame/distance conversion that the table defines.
//
// The table is the truth: every frame of the movie is drawn at the distance that the line
// file's [SpeedUnit] rows give for it, and every position written into a line file is the frame
// whose distance is nearest to the route's metres. So driving at the filming speed shows the
// movie at its own pace and a stop frame shows the platform where the stop is.
#include <vector>

#include "tools/make_demo/route.h"

namespace kestrel::demo {

struct SpeedUnitRow {
  int start = 0, end = 0;       // frames, end exclusive
  double vStart = 0, vEnd = 0;  // km/h, as written (two decimals)
};

// Distance in centimetres of a frame by the [SpeedUnit] formula (the loaders' frame-to-distance
// conversion), for rows covering the frame.
double speedUnitDistanceCm(const std::vector<SpeedUnitRow>& rows, int frame);

class Filming {
 public:
  explicit Filming(const Route& route);

  const std::vector<SpeedUnitRow>& rows() const { return rows_; }
  int frameCount() const { return frameCount_; }
  // Distance of a frame from the start of the movie in centimetres, by the [SpeedUnit] formula.
  double distanceCm(int frame) const;
  double metres(int frame) const { return distanceCm(frame) / 100.0; }
  // The frame whose distance is nearest to the given metres (clamped to the movie).
  int frameAt(double metres) const;
  // Filming speed at a frame (the table's interpolation).
  double speedAt(int frame) const;

 private:
  std::vector<SpeedUnitRow> rows_;
  std::vector<double> frameCm_;     // distance of every frame
  int frameCount_ = 0;
};

}  // namespace kestrel::demo
