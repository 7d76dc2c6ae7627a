#pragma once
// The sounds that the line files name: the [SoundData] list (station sounds, line-side sounds,
// the one-man announcements) and the call-out clips. Writes the wave files and keeps the numbers.
#include <array>
#include <string>
#include <vector>

#include "tools/make_demo/assets.h"
#include "tools/make_demo/route.h"
#include "tools/make_demo/voices.h"

namespace kestrel::demo {

struct LineSounds {
  std::vector<std::string> soundData;  // [SoundData] rows in order
  int startChime = 0;   // arrival sound of the first station (one second)
  int departure = 0;    // melody and "doors are closing"; its length ends at the departure time
  std::vector<int> arrival;  // per station
  // The running noise of one stretch between stations; the stretches take the two numbers in
  // turn, so that the end of one stretch (stopped within 10 frames of its end) never stops the
  // loop that the next stretch has just started.
  std::array<int, 2> running{};
  int crossingBell = 0, bridge = 0, birds = 0, passingTrain = 0;
  std::vector<int> announce;  // one-man announcements: 0 the opening, then one per station from 1
  std::vector<int> seconds;   // whole-second length of every [SoundData] row

  std::vector<std::string> kanko1;  // the 22 fixed clips
  std::vector<std::string> kanko2;  // numbered from 22
  int clipStopPosition = 0, clipCrossing = 0;  // numbers of [KankoSound2] clips
  std::vector<std::string> otherKanko, limitKanko;
};

LineSounds makeLineSounds(Assets& assets, const Route& route, const Voices& voices);

}  // namespace kestrel::demo
