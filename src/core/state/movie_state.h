#pragma once
// The working values of the movie switching (held in TrainState as `movie`); the counters that
// the render loop reads (MovieFrame, SubFrame, MovieMode, LastShownFrame, MovieDirection) stand in
// TrainState itself.
#include <cstdint>
#include <vector>

namespace kestrel {

struct MovieSwitchState {
  int32_t movieLastFrame = 0;   // frames of the main movie x [Disp] line 1 field 2; 0 without a movie
  int32_t switchLimit = 0;      // frame count of the switched movie in use ([MovieSwitch] field 5)
  int32_t branchBaseFrame = 0;  // [MovieSwitch] field 2 of the branch in use
  int32_t activeRow = -1;       // the [MovieSwitch] row whose movie is in use; -1 the main movie
  std::vector<bool> rowDone;    // one per [MovieSwitch] row: its movie has been played
};

}  // namespace kestrel
