#include "core/front/script_player.h"

#include <algorithm>

namespace kestrel {

ScriptPlayer::ScriptPlayer(DriveDoor& door, std::vector<ScriptInput> inputs)
    : door_(door), inputs_(std::move(inputs)), start_(door.session().scheduler().now()) {}

std::optional<int64_t> ScriptPlayer::nextDue() const {
  if (ended_ || next_ >= inputs_.size()) return std::nullopt;
  return start_ + inputs_[next_].timeUs;
}

void ScriptPlayer::deliverNext() {
  if (!nextDue()) return;
  const ScriptInput& in = inputs_[next_++];
  if (in.kind == ScriptInput::Kind::End) ended_ = true;
  if (auto message = door_.deliver(in); message && messages_) messages_(in, *message);
}

void ScriptPlayer::runTo(int64_t timeUs) {
  Scheduler& clock = door_.session().scheduler();
  const int64_t target = start_ + timeUs;
  for (auto due = nextDue(); due && *due <= target; due = nextDue()) {
    if (*due > clock.now()) clock.advanceBy(*due - clock.now());
    deliverNext();
  }
  if (target > clock.now()) clock.advanceBy(target - clock.now());
}

int64_t playedDurationUs(const std::vector<ScriptInput>& inputs) {
  const auto end = std::find_if(inputs.begin(), inputs.end(),
                                [](const ScriptInput& in) { return in.kind == ScriptInput::Kind::End; });
  if (end != inputs.end()) return end->timeUs;
  return (inputs.empty() ? 0 : inputs.back().timeUs) + 10000000;
}

}  // namespace kestrel
