#pragma once
// The three services over the demo line and their timetables.
#include <string>
#include <vector>

#include "tools/make_demo/route.h"

namespace kestrel::demo {

enum class ServiceKind { Express, Rapid, Local };

struct Service {
  ServiceKind kind = ServiceKind::Local;
  std::string file;       // "line_exp.dat"
  std::string typeName;   // "特急"
  std::string typeKana;   // "とっきゅう"
  std::string dataName;   // route movie base name
  std::vector<int> stationType;  // [Station] field 2 per station: 0 stop, 1 pass
  // Seconds since midnight: departure at stops, passing time at passed stations, arrival at
  // the terminal.
  std::vector<int> timeSec;
  std::vector<int> lineSpeed;  // [Station] field 9, km/h
  bool oneMan = false;
  bool takesLoop = false;      // runs through the passing loop (branch movie)
  bool stationMovie = false;   // waits for an overtaking train (station movie)
  int dwellSec = 30;
  bool stops(size_t station) const { return stationType[station] == 0; }
};

std::vector<Service> makeServices(const Route& route);

// "10:02:15" for a time in seconds.
std::string clockText(int seconds);

}  // namespace kestrel::demo
