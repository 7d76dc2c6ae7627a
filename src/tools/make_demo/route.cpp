#include "tools/make_demo/route.h"

#include <algorithm>

namespace kestrel::demo {

double Route::gradientAt(double m) const {
  for (const auto& s : slopes)
    if (m > s.startM && m < s.endM) return s.permil;
  return 0.0;
}

double Route::curvatureAt(double m) const {
  for (const auto& c : curves) {
    if (m < c.startM || m > c.endM) continue;
    // 40 m transition curves at both ends so that the picture does not snap.
    const double ramp = std::min({1.0, (m - c.startM) / 40.0, (c.endM - m) / 40.0});
    return ramp / c.radiusM;
  }
  return 0.0;
}

namespace {

Station station(const char* name, const char* kana, double stopM, int side, double lengthM) {
  Station s;
  s.name = name;
  s.kana = kana;
  s.stopM = stopM;
  s.platformSide = side;
  s.platformFromM = stopM - lengthM + 10.0;
  s.platformToM = stopM + 10.0;
  return s;
}

// Starting and home signals for every station, a block signal in every long gap, and the
// headless section boundaries given.
std::vector<SignalPost> signalsFor(const std::vector<Station>& st, const std::vector<double>& headless) {
  std::vector<SignalPost> out;
  for (size_t i = 0; i < st.size(); ++i) {
    const int idx = static_cast<int>(i);
    if (i > 0) out.push_back({st[i].stopM - 200.0, SignalRole::Home, idx, 6});
    if (i + 1 < st.size()) {
      out.push_back({st[i].stopM + 110.0, SignalRole::Starting, idx, 2});
      const double gap = st[i + 1].stopM - st[i].stopM;
      if (gap > 1000.0) out.push_back({st[i].stopM + 110.0 + (gap - 310.0) / 2.0, SignalRole::Block, idx, 6});
    }
  }
  for (double m : headless) out.push_back({m, SignalRole::Headless, 0, out.size() % 2 ? -1 : 0});
  std::sort(out.begin(), out.end(), [](const SignalPost& a, const SignalPost& b) { return a.posM < b.posM; });
  return out;
}

Route fullRoute() {
  Route r;
  r.variant = Variant::Full;
  r.lineName = "鷹見線";
  r.stations = {
      station("鷹見", "たかみ", 40, 1, 215),        station("東鷹見", "ひがしたかみ", 1250, 0, 215),
      station("桜台", "さくらだい", 2450, 1, 215),  station("川端", "かわばた", 3700, 0, 215),
      station("緑町", "みどりまち", 5000, 0, 215),  station("北野", "きたの", 6350, 1, 215),
      station("鳥羽台", "とばだい", 7600, 0, 215),
  };
  r.bufferStopM = 7625;
  r.movieEndM = 7650;
  r.slopes = {{12, 1450, 2100}, {-15, 2650, 3450}, {5, 3950, 4600},
              {-8, 5450, 5950}, {6, 6550, 7100},   {-3, 7200, 7450}};
  r.curves = {{600, 900, 800}, {1700, 2000, -1200}, {2800, 3300, 400},
              {4100, 4400, -600}, {5600, 5900, 1000}, {6800, 7100, -800}};
  r.limits = {{75, 2750, 3350, 1, 4}, {45, 4750, 5260, 2, 4}};
  r.tunnel = {3950, 4550, 160};
  r.loop = {4, 4750, 5260, -7.0};
  r.points = {{120, 2}, {4750, 1}, {5260, 2}, {7450, 1}};
  r.crossingM = 1000;
  r.trafficLightM = 1010;
  r.worksiteFromM = 2900;
  r.worksiteToM = 3200;
  r.bridgeFromM = 3380;
  r.bridgeToM = 3460;
  r.signalPosts = signalsFor(r.stations, {1800, 5700});
  r.cruiseKmh = 105;
  r.passKmh = 10;
  r.terminalKmh = 5;
  r.accel = 3.0;
  r.decel = 3.5;
  return r;
}

// A 2 km line for the tests: the same tables with fewer rows. Its filming run is fast so that the
// movie stays short; it is not meant to be driven for pleasure.
Route quickRoute() {
  Route r;
  r.variant = Variant::Quick;
  r.lineName = "鷹見線（試験）";
  r.stations = {
      station("鷹見", "たかみ", 40, 1, 215),
      station("東鷹見", "ひがしたかみ", 650, 0, 215),
      station("緑町", "みどりまち", 1300, 0, 215),
      station("鳥羽台", "とばだい", 1900, 0, 215),
  };
  r.bufferStopM = 1925;
  r.movieEndM = 1950;
  r.slopes = {{12, 250, 450}, {-15, 700, 900}, {5, 1050, 1200}};
  r.curves = {{700, 900, 400}, {1500, 1700, -800}};
  r.limits = {{75, 680, 920, 1, 4}, {45, 1150, 1460, 2, 4}};
  r.tunnel = {980, 1120, 160};
  r.loop = {2, 1150, 1460, -7.0};
  r.points = {{1150, 1}, {1460, 2}};
  r.crossingM = 400;
  r.trafficLightM = 410;
  r.worksiteFromM = 720;
  r.worksiteToM = 900;
  r.bridgeFromM = 950;
  r.bridgeToM = 990;
  r.signalPosts = signalsFor(r.stations, {1600});
  r.cruiseKmh = 160;
  r.passKmh = 140;
  r.terminalKmh = 140;
  r.accel = 6.0;
  r.decel = 6.0;
  r.filmingObeysLimits = false;
  return r;
}

}  // namespace

Route makeRoute(Variant variant) { return variant == Variant::Full ? fullRoute() : quickRoute(); }

}  // namespace kestrel::demo
