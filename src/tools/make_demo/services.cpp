#include "tools/make_demo/services.h"

#include <cmath>
#include <cstdio>

namespace kestrel::demo {

namespace {

int roundTo5(double s) { return static_cast<int>(std::ceil(s / 5.0)) * 5; }

// Running time between two stops: at about 86 km/h on average between the accelerating and
// braking ends, 32 s for starting and stopping, and 8 s for every limit on the way.
double runSeconds(const Route& r, double fromM, double toM) {
  double t = (toM - fromM) / 24.0 + 32.0;
  for (const auto& l : r.limits)
    if (l.startM < toM && l.endM > fromM) t += 8.0;
  return t;
}

Service make(const Route& r, ServiceKind kind, const std::vector<int>& stopAt, int firstDep) {
  Service s;
  s.kind = kind;
  const size_t n = r.stations.size();
  s.stationType.assign(n, 1);
  for (int i : stopAt) s.stationType[static_cast<size_t>(i)] = 0;
  s.timeSec.assign(n, 0);
  s.lineSpeed.assign(n, 120);
  s.dwellSec = kind == ServiceKind::Local ? 25 : 35;
  int t = firstDep;
  size_t last = 0;
  s.timeSec[0] = t;
  for (size_t i = 1; i < n; ++i) {
    if (!s.stops(i)) continue;
    const double run = runSeconds(r, r.stations[last].stopM, r.stations[i].stopM);
    // Passing times of the stations in between, by distance.
    for (size_t k = last + 1; k < i; ++k) {
      const double share = (r.stations[k].stopM - r.stations[last].stopM) / (r.stations[i].stopM - r.stations[last].stopM);
      s.timeSec[k] = t + roundTo5(run * share);
    }
    const int arrival = t + roundTo5(run);
    t = i + 1 == n ? arrival : arrival + s.dwellSec;
    s.timeSec[i] = t;
    last = i;
  }
  // Line speeds of the sections: lower through the curve and the loop station.
  for (size_t i = 0; i < n; ++i) {
    const double from = r.stations[i].stopM, to = i + 1 < n ? r.stations[i + 1].stopM : r.movieEndM;
    for (const auto& l : r.limits)
      if (l.startM < to && l.endM > from && l.kmh < 75) s.lineSpeed[i] = 95;
    if (i == 0) s.lineSpeed[i] = 100;
  }
  return s;
}

}  // namespace

std::vector<Service> makeServices(const Route& r) {
  const int last = static_cast<int>(r.stations.size()) - 1;
  const bool full = r.variant == Variant::Full;
  Service exp = full ? make(r, ServiceKind::Express, {0, 3, last}, 10 * 3600 + 20 * 60)
                     : make(r, ServiceKind::Express, {0, last}, 10 * 3600 + 20 * 60);
  exp.file = "line_exp.dat";
  exp.typeName = "特急";
  exp.typeKana = "とっきゅう";
  Service rapid = full ? make(r, ServiceKind::Rapid, {0, 2, 4, last}, 10 * 3600)
                       : make(r, ServiceKind::Rapid, {0, 2, last}, 10 * 3600);
  rapid.file = "line_rapid.dat";
  rapid.typeName = "快速";
  rapid.typeKana = "かいそく";
  rapid.takesLoop = true;
  std::vector<int> all;
  for (int i = 0; i <= last; ++i) all.push_back(i);
  Service local = make(r, ServiceKind::Local, all, 9 * 3600 + 40 * 60);
  local.file = "line_local.dat";
  local.typeName = "普通";
  local.typeKana = "ふつう";
  local.oneMan = true;
  local.stationMovie = true;
  for (Service* s : {&exp, &rapid, &local}) s->dataName = "kestrel_line";
  return {exp, rapid, local};
}

std::string clockText(int seconds) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return b;
}

}  // namespace kestrel::demo
