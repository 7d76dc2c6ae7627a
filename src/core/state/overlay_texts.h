#pragma once
// The status texts that the tick leaves for the cab display besides those kept with their
// owners: the handle texts (ControlState), the station, door and clock texts (StationState), and
// the speed and stop-distance texts (TrainState). The display draws them over the movie, or copies
// them into the text-mode labels; an empty text is not drawn.
#include <string>

namespace kestrel {

struct OverlayTexts {
  // The commentary at the top of the movie: the texts of the notice items (without their leading
  // "0"), blank-separated, empty items left out; set when the notice changes.
  std::string message;
  // ")" + limit + "km/h ", e.g. ")45km/h ": the first of the three limits ahead that is below the
  // speed and whose start lies within the distance needed to slow to it — brake for it now.
  std::string limitNotice;
  // Label10: the first speed limit ahead, its distance in whole metres + "m " + limit + "km/h ",
  // e.g. "350m 45km/h ". Station-stop rows of [SpeedLimit] (kind 3) are no limits and get no text.
  std::string nextLimit;
  // Label8: the distance to the ATS pattern's target in whole metres + "m", e.g. "123m"; Label9:
  // the pattern's target speed + "km/h", e.g. "55km/h". Both empty without a pattern; the station
  // jump and the restore clear them with the ATS state.
  std::string label8;
  std::string label9;
};

}  // namespace kestrel
