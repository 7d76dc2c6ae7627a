#pragma once
// The status texts that the tick leaves for the cab display besides those kept with their
// owners: the handle texts (ControlState), the station, door and clock texts (StationState), and
// the speed and stop-distance texts (TrainState). The display draws them over the movie, or copies
// them into the text-mode labels; an empty text is not drawn.
#include <string>

namespace kestrel {

struct OverlayTexts {
  std::string message;      // the commentary (the notices without their leading "0"), top of the movie
  std::string limitNotice;  // ")" and a speed with "km/h ": the limit being approached
  std::string nextLimit;    // Label10: distance "m" and speed "km/h " of the next limit
  std::string label8;       // Label8: a distance in "m" (the speed-check pattern)
  std::string label9;       // Label9: set by the tick, the station jump and the restore
};

}  // namespace kestrel
