#pragma once
// The demo line, described once in metres along the track. Every file of the content (the
// movies, the line files, the pattern strips) is derived from this route and from the
// filming run (filming.h), so that they cannot drift apart.
#include <string>
#include <vector>

namespace kestrel::demo {

enum class Variant { Full, Quick };

struct Station {
  std::string name;   // as shown ("鷹見")
  std::string kana;   // as spoken ("たかみ")
  double stopM = 0;   // stopping position (the front of the train)
  int platformSide = 0;  // 0 left, 1 right, seen in the direction of travel
  double platformFromM = 0, platformToM = 0;
};

struct Slope {
  double permil = 0;  // rising positive
  double startM = 0, endM = 0;
};

struct Curve {
  double startM = 0, endM = 0;
  double radiusM = 0;  // positive: to the right
};

struct Limit {
  int kmh = 0;
  double startM = 0, endM = 0;
  int postPattern = 0;     // cell of the speed-limit post strip
  int releasePattern = 0;  // cell shown after the end (0 none)
};

enum class SignalRole { Starting, Home, Block, Headless };

struct SignalPost {
  double posM = 0;
  SignalRole role = SignalRole::Block;
  int station = 0;  // the station it belongs to (starting and home signals)
  int kind = 6;
};

struct Point {
  double posM = 0;
  int kind = 1;  // 1 facing, 2 trailing
};

struct Tunnel {
  double startM = 0, endM = 0;
  int darkness = 0;
};

// The passing loop of one station, taken by the rapid service.
struct Loop {
  int station = 0;
  double inM = 0, outM = 0;  // the two turnouts
  double offsetM = -7.0;     // lateral position of the loop track (left negative)
};

struct Route {
  Variant variant = Variant::Full;
  std::string lineName;
  double movieEndM = 0;
  double bufferStopM = 0;  // where the movie holds the train at the end of the line
  std::vector<Station> stations;
  std::vector<Slope> slopes;
  std::vector<Curve> curves;
  std::vector<Limit> limits;
  std::vector<SignalPost> signalPosts;
  std::vector<Point> points;
  Tunnel tunnel;
  Loop loop;
  double crossingM = 0;  // level crossing
  double bridgeFromM = 0, bridgeToM = 0;
  double trafficLightM = 0;                   // the road traffic light beside the crossing
  double worksiteFromM = 0, worksiteToM = 0;  // track work: its rotating beacon is in sight
  // Filming run: cruising speed, the speed at which the filming train passes the stopping
  // positions, and its accelerations (km/h/s).
  double cruiseKmh = 0, passKmh = 0, terminalKmh = 0, accel = 0, decel = 0;
  bool filmingObeysLimits = true;

  // Along-track queries.
  double gradientAt(double m) const;   // per mille
  double curvatureAt(double m) const;  // 1/m, right positive
  bool inTunnel(double m) const { return m > tunnel.startM && m < tunnel.endM; }
};

Route makeRoute(Variant variant);

}  // namespace kestrel::demo
