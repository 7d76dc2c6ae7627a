#include "tools/filmed_ride.h"

#include <GeographicLib/LocalCartesian.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "tools/author/iso_time.h"

namespace kestrel::test {

Ride::Ride()
    : Ride({
      {20, 0},                   // standing at the first station
      {25, 0.8},                 // to 20 m/s
      {60, 0},        {20.0 / 0.7, -0.7},  // braking to the station
      {30, 0},                   // standing
      {25 / 0.6, 0.6},           // to 25 m/s
      {80, 0},        {25 / 0.8, -0.8},    // to the terminal
      {10, 0}}) {}

Ride::Ride(const std::vector<std::pair<double, double>>& phases) {
  double v = 0, s = 0;
  for (const auto& [seconds, a] : phases) {
    for (long k = 0; k < std::lround(seconds * 1000); ++k) {
      s += (v + 0.0005 * a) * 0.001;
      v = std::max(0.0, v + a * 0.001);
      metres_.push_back(s);
    }
  }
}

double Ride::metresAt(double t) const {
  const auto i = static_cast<size_t>(std::clamp<double>(std::lround(t * 1000), 1, static_cast<double>(metres_.size())));
  return metres_[i - 1];
}

void placeOf(double s, double& x, double& y) {
  constexpr double kStraight = 800, kRadius = 400, kArc = kRadius * M_PI / 2;
  if (s <= kStraight) {
    x = 0, y = s;
  } else if (s <= kStraight + kArc) {
    const double angle = (s - kStraight) / kRadius;
    x = kRadius - kRadius * std::cos(angle), y = kStraight + kRadius * std::sin(angle);
  } else {
    x = kRadius + (s - kStraight - kArc), y = kStraight + kRadius;
  }
}

std::string gpxOf(const Ride& ride, double sigma, unsigned seed) {
  const GeographicLib::LocalCartesian plane(kLat0, kLon0, 0);
  std::mt19937 random(seed);
  std::normal_distribution<double> scatter(0, sigma > 0 ? sigma : 1);
  std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                    "<trk><trkseg>\n";
  for (int t = 0; t <= static_cast<int>(ride.duration()); ++t) {
    double x, y, lat, lon, h;
    placeOf(ride.metresAt(t), x, y);
    if (sigma > 0) x += scatter(random), y += scatter(random);
    plane.Reverse(x, y, 0, lat, lon, h);
    char line[160];
    std::snprintf(line, sizeof line, "<trkpt lat=\"%.8f\" lon=\"%.8f\"><time>%s</time></trkpt>\n", lat, lon,
                  author::formatIsoTime(kStart + t).c_str());
    gpx += line;
  }
  return gpx + "</trkseg></trk>\n</gpx>\n";
}

}  // namespace kestrel::test
