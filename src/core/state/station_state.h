#pragma once
// The state of the stations, the doors and the clock of one drive (held in TrainState as
// `stations`). The station rules of the tick and the station jump write it; the cab display
// shows its texts and the clock face; the signal rules read the section, the next stop and the
// departure flags through the queries of sim/stations.h.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

// Flags of one [Station] row, set once per visit and cleared by a station jump or a restore.
struct StationVisit {
  bool visited = false;         // the platform window has held the train
  bool stood = false;           // the stand call-out has been fired (driver-operated doors)
  bool arrived = false;         // arrival handled: doors opened, arrival sound, arrivalClock
  bool departureReady = false;  // the departure sound has started and the next stop is set
  bool passedDoors = false;     // the doors have been closed automatically at the end of the dwell
};

// One hand of the analogue clock: a line from the centre (25, 25) of the 50 x 50 face.
struct ClockHand {
  int32_t x = 25, y = 25;  // end point, pixels of the face
};

// What the [Clock] panel picture shows; the cab display draws it when `revision` changes.
struct ClockFace {
  bool drawn = false;  // the vehicle has a [Clock] section with x and y above 0
  int32_t revision = 0;
  ClockHand hour, minute, second;
};

struct StationState {
  std::vector<StationVisit> visits;  // one per [Station] row

  int32_t currentStation = 0;   // the station whose platform held the train last
  int32_t nextStopStation = 0;  // where the train must stop next; its stop distance is stopTarget
  int32_t section = 0;          // the station whose stop distance the train has passed last (tick stage 2)
  int32_t arrivalClock = 0;     // TickCounter at the last arrival
  // Stored on the first tick of a visit: the station's scheduled departure time and a number 0-99.
  int32_t visitDeparture = 0;
  int32_t visitRandom = 0;
  // Set by the station jump: the first station at or after the chosen one that had not been visited.
  int32_t displayStation = 0;

  std::string stationText;  // "ただいま " + name at a platform, "次は " + name + label between stations
  std::string doorText;     // the door state, or at the start the car count with the [Cars] text

  // Doors: the door-closed pilot lamp ("img_Lamp_Door"), kept here so that the door sequence
  // works on a vehicle without the picture.
  bool doorLampLit = true;
  int32_t departures = 0;  // door-closed sequences completed: departures counted

  bool runEnded = false;  // the final stop has been made; BackClick has been called

  // The clock.
  std::string clockText;     // hh:mm:ss, rebuilt when the seconds change
  int32_t clockSecond = -1;  // the seconds last shown; -1 redraws on the next timecalc
  ClockFace clockFace;
};

}  // namespace kestrel
