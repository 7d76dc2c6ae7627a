#pragma once
// The working values of the trackside pictures (held in TrainState as `trackside`): what the
// pictures last showed, so that a rule redraws only on a change, and the blinking of the
// speed-limit post. Reset whenever the train is put somewhere else.
#include <cstdint>
#include <string>

namespace kestrel {

struct TracksideState {
  // A value that no signal code has: the first code is always drawn.
  static constexpr int32_t kNeverDrawn = -1;

  int32_t lastSignalCode = kNeverDrawn;  // the signal code the signal pictures show
  int32_t cabSignalPattern = -1;         // [ATS_Type] 2: the cab-signal cell the code shows; -1 hidden

  // The speed-limit post.
  int32_t lastLimitPosted = 0;
  int32_t lastLookAheadPattern = 0;
  bool limitBlinking = false;
  bool secondPost = false;

  // The other-signs post: the [Sign] row shown, and the tick at which it appeared.
  int32_t signRow = -1;
  int32_t signSince = 0;

  // The gradient texts of the display: the gradient with one decimal and its absolute value, or
  // "L" on a level stretch.
  std::string gradientText;
  std::string gradientAbsText;
};

}  // namespace kestrel
