#pragma once
// Plays the inputs of a script or a recording through a drive's door on the drive's own clock:
// each input after every event due at or before its time. The runner plays one flat out; a ghost
// and the desktop program's replay play theirs piece by piece, as their clocks allow.
//
// Thread contract: the thread that owns the drive.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/front/drive_door.h"
#include "core/front/drive_script.h"

namespace kestrel {

class ScriptPlayer {
 public:
  // What an input would show in a message box, with the input.
  using MessageSink = std::function<void(const ScriptInput& input, const std::string& message)>;

  // Times are drive times from the drive's start (the scheduler's time when the player is made).
  ScriptPlayer(DriveDoor& door, std::vector<ScriptInput> inputs);

  // The scheduler's time of the next input; nullopt when none is left.
  std::optional<int64_t> nextDue() const;
  // Delivers the next input now (the clock stands at its time).
  void deliverNext();
  // Runs the clock on to `timeUs` from the start, delivering every input due on the way.
  void runTo(int64_t timeUs);
  void setMessageSink(MessageSink sink) { messages_ = std::move(sink); }

  // An "end" has been delivered.
  bool ended() const { return ended_; }
  size_t delivered() const { return next_; }
  const std::vector<ScriptInput>& inputs() const { return inputs_; }
  int64_t start() const { return start_; }

 private:
  DriveDoor& door_;
  std::vector<ScriptInput> inputs_;
  int64_t start_;
  size_t next_ = 0;
  bool ended_ = false;
  MessageSink messages_;
};

// The end of a played drive: an "end" input's time; else the last input's plus 10 s.
int64_t playedDurationUs(const std::vector<ScriptInput>& inputs);

}  // namespace kestrel
