#pragma once
// Which movie frame the render step decodes, and when it leaves the screen as it is.
#include <cstdint>
#include <optional>

#include "core/data/line_data.h"
#include "core/ports/movie_reader.h"
#include "core/state/train_state.h"

namespace kestrel {

// The stop-frame hold: running on past the end of the line ([MovieStop], within 500 frames) in
// the main movie, or backing towards it after turning back, the render step draws nothing until
// the tick has put the train back at the end.
bool holdsStopFrame(const TrainState& t, const LineData& line);

// The frame to decode, or nothing when the picture on screen is still the right one. Main movie
// (mode 0): MovieFrame, up to the movie's last frame; a station or branch movie (1, 2): SubFrame;
// a switch in progress (9): nothing. Never a frame equal to LastShownFrame, nor while MovieFrame
// is negative.
std::optional<int32_t> frameToDecode(const TrainState& t);

// Where the frame to decode is heading, for a reader that decodes ahead: the main and a branch
// movie move with the speed (the frames the 33 ms event advances, about 30 events a second); a
// station movie plays forwards at the line's [FrameRate]; a switch in progress stands.
MovieTravel movieTravel(const TrainState& t, const LineData& line);

}  // namespace kestrel
