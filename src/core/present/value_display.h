#pragma once
// The value display window (TForm3, "Value Display") without its widgets: a diagnostic view for
// line and vehicle authors. While the window is shown (KeyState::valueDisplayVisible, which F3
// toggles) every tick writes the drive's internal values into its labels and the sound grid;
// hidden, the tick writes nothing. The memo collects the diagnostic lines of the drive — the ATS
// message list, each notice as it changes, and what the buttons report — shown or not, the way
// lines added to a hidden memo are there when it opens.
//
// Thread contract: the thread that owns the drive; the tick's Displays stage calls update(), the
// window reads the results after the tick.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/present/value_display_texts.h"

namespace kestrel {

inline constexpr std::string_view kValueDisplayCaption = "Value Display";
inline constexpr std::string_view kSpeedUnitReloadCaption = "SU再読込";
inline constexpr std::string_view kJumpCaption = "jump";
inline constexpr std::string_view kResistanceOffCaption = "抵抗解除";

class ValueDisplay {
 public:
  // Lines the memo has not taken yet beyond this are dropped, oldest first (a drive without a
  // window never takes them).
  static constexpr size_t kPendingMemoLines = 1000;

  // The render loop's measured frame rate, read at every write; without a source it shows 0.
  void setRateSource(std::function<int32_t()> source) { rateSource_ = std::move(source); }

  // The tick (stage Displays): the memo's new lines; while visible, every label and the grid.
  void update(const DriveContext& ctx);

  // The labels as last written; `revision` counts the writes.
  const ValueDisplayTexts& texts() const { return texts_; }
  uint64_t revision() const { return revision_; }
  // The caption the window should show: the last serial command, for diagnosis, without control
  // characters (its carriage return); empty while none has come, and the window keeps its own.
  std::string caption(const DriveContext& ctx) const;

  // A line of the window's own (the buttons' reports).
  void addMemoLine(std::string line);
  // The memo's new lines, oldest first; taking them empties the list.
  std::vector<std::string> takeMemoLines();

 private:
  std::function<int32_t()> rateSource_;
  ValueDisplayTexts texts_;
  uint64_t revision_ = 0;
  uint64_t messagesSeen_ = 0;
  std::string noticeSeen_;
  std::deque<std::string> memo_;
};

// `sc` (a click on a grid cell): stops the cell's channel.
void sc(Mixer& mixer, int channel);

// "jump": MovieFrame = the integer in the edit field. A text that is not an integer changes
// nothing; the message says so (the runtime's conversion message) for the memo.
std::optional<std::string> Button2Click(DriveContext& ctx, std::string_view text);

// "抵抗解除": toggles the resistance-off switch of the motion; the new state, which the button
// shows by a bold caption.
bool Button3Click(DriveContext& ctx);

}  // namespace kestrel
