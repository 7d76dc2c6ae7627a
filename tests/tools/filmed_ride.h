#pragma once
// A filming ride of known speeds along a line of known shape, and the GPS track a logger on the
// train would have written of it: the ground truth of the authoring tools' tests.
#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

inline constexpr double kLat0 = 35.17, kLon0 = 136.88;  // where the line starts
inline constexpr double kStart = 1714521600;            // the track's first fix: 2024-05-01T00:00:00Z

// Stand 20 s, run up to 20 m/s, stop at a station, stand 30 s, run up to 25 m/s, stop at the end
// and stand 10 s: metres travelled after t seconds (integrated in milliseconds).
class Ride {
 public:
  Ride();
  // Phases of {seconds, acceleration in m/s^2}, from a stand.
  explicit Ride(const std::vector<std::pair<double, double>>& phases);
  double duration() const { return static_cast<double>(metres_.size()) / 1000; }
  double metresAt(double t) const;

 private:
  std::vector<double> metres_;
};

// The line's shape in metres east (x) and north (y) of its start: 800 m north, a quarter circle of
// 400 m radius to the east, then east.
void placeOf(double s, double& x, double& y);

// A GPX of one fix a second, scattered by `sigma` metres east and north independently from fix to
// fix (a receiver's jitter).
std::string gpxOf(const Ride& ride, double sigma, unsigned seed = 7);

}  // namespace kestrel::test
