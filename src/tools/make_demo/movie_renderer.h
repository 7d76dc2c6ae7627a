#pragma once
// Draws the frames of the demo movies with QPainter: a virtual filming run along the route,
// seen from the cab (rails and sleepers in perspective, catenary, platforms, the tunnel, the
// level crossing, curves and gradients as the route gives them).
#include <QImage>

#include <vector>

#include "tools/make_demo/filming.h"
#include "tools/make_demo/movie_plan.h"
#include "tools/make_demo/route.h"

namespace kestrel::demo {

constexpr int kMovieWidth = 640, kMovieHeight = 480;
// Camera: eye 2.6 m above the rails, 60 degrees across, horizon at y 200 of 480.
constexpr double kEyeHeightM = 2.6;
constexpr double kFocalPx = 554.256;  // 320 / tan(30 deg)
constexpr double kHorizonPx = 200.0;
// The train's position is the point that the bottom edge of the picture shows; the camera stands
// that far behind it. On the cab surface (the movie scaled to 800 x 600) a point x metres ahead
// lies at y = 600 - x / (x + P) * K: the [Perspective] values.
constexpr double kStopLinePerspectiveM = kFocalPx * kEyeHeightM / (kMovieHeight - kHorizonPx);
constexpr int kStopLineScalePx = static_cast<int>((kMovieHeight - kHorizonPx) * 600 / kMovieHeight);

class MovieRenderer {
 public:
  MovieRenderer(const Route& route, const Filming& filming, const MoviePlan& plan);

  QImage routeFrame(int frame) const;
  QImage branchFrame(int k) const;   // frame k of the loop movie
  QImage stationFrame(int k) const;  // frame k of the overtaking-train movie
  QImage openingFrame(int k, int frames) const;

 private:
  struct Sample {
    double x, y, heading, z;
  };
  struct View;

  QImage draw(double trainM, double lateralM, double clock, double passingTrainM) const;
  Sample at(double m) const;
  double otherTrack(double m) const;
  double loopTrack(double m) const;  // lateral offset of the loop track, NaN outside it

  const Route& route_;
  const Filming& filming_;
  const MoviePlan& plan_;
  std::vector<Sample> samples_;  // every 0.5 m from kStartM
  static constexpr double kStartM = -100.0, kStepM = 0.5;
};

}  // namespace kestrel::demo
