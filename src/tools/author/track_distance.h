#pragma once
// The distance a filming train travelled along its GPS track, as a function of the track's clock.
//
// GPS fixes scatter by metres around the train. Summing the distance between raw fixes would add
// that scatter as distance (most of all while the train stands), so the track is read in steps:
// the order of the fixes along the line from fixes averaged over a few seconds; the path's shape
// from the fixes smoothed along that order by local quadratic regression (which follows a curve
// without cutting it), with anchors every 10 m whose geodesic distances (GeographicLib, WGS84)
// measure the path; every fix's foot on the path; and that distance smoothed over time by a
// Kalman smoother (along_track_smoother.h) and made never to decrease (a filming ride runs
// forwards).
#include <cstddef>
#include <vector>

#include "tools/author/gpx_track.h"

namespace kestrel::author {

class TrackDistance {
 public:
  // At least two points with increasing times (readGpx's promise).
  explicit TrackDistance(const std::vector<TrackPoint>& points);

  double begin() const { return times_.front(); }
  double end() const { return times_.back(); }
  // Metres from the track's first point at `time` (clamped to the track's span).
  double metresAt(double time) const;
  // The first time the distance reaches `metres` (the end of the track when it never does).
  double timeReaching(double metres) const;

  struct Nearest {
    double along = 0;   // metres along the path of the place's foot
    double offset = 0;  // metres from the path
  };
  // The point of the path nearest a place.
  Nearest nearest(double lat, double lon) const;

 private:
  struct Anchor {
    double x = 0, y = 0;  // local plane, metres
    double metres = 0;    // geodesic distance along the path
  };
  Nearest foot(size_t segment, double x, double y) const;
  Nearest nearestOn(size_t from, size_t to, double x, double y, size_t* segment) const;
  // A point's foot on the path, looked for near `segment` first (which it updates).
  Nearest project(double x, double y, size_t& segment) const;

  double lat0_ = 0, lon0_ = 0;
  double origin_ = 0;  // the path distance of the track's first point
  std::vector<Anchor> path_;
  std::vector<double> times_, metres_;
};

}  // namespace kestrel::author
