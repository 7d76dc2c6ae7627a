#pragma once
// The serial master controller. Its commands are short texts ended by a carriage return; the first
// five characters of each are compared with entries 1 to 23 of mascon.dat, so a controller with
// other command codes needs only another table. Matching commands set the handles directly
// (absolute positions, clamped), set the reverser, or post the character of a key.
#include <optional>
#include <string>
#include <string_view>

#include "core/state/drive_context.h"

namespace kestrel {

// Entries 1 to 23 of mascon.dat have a meaning; 24 to 26 are kept and do nothing.
inline constexpr size_t kMasconCommandEntries = 23;

// The receive buffer of RxChar. A chunk without a carriage return is kept; the chunk that brings
// one completes the command: the buffer and the whole chunk, bytes after the carriage return
// included (they belong to this command, not the next), and the buffer is emptied.
//
// A device that never sends a carriage return (a wrong baud rate gives a stream of noise) would
// grow the buffer without end: it keeps the first kMaxPending bytes and drops the rest. Only the
// first five characters of a command are ever compared, so no command changes its meaning.
class SerialReceiveBuffer {
 public:
  static constexpr size_t kMaxPending = 4096;

  // The complete command as received, or nullopt while it is still incomplete.
  std::optional<std::string> RxChar(std::string_view chunk);
  const std::string& pending() const { return buffer_; }

 private:
  std::string buffer_;
};

// One complete command (bytes as the controller sent them, CP932): driver activity for the
// vigilance device, the text kept in KeyState::serialCommandText, then the effect of every entry
// 1 .. 23 that equals its first five characters. Characters it posts wait in
// KeyState::postedCharacters until the caller delivers them.
void SerialCommand(DriveContext& ctx, std::string_view command);

// The first five characters of a UTF-8 text (all of it when shorter).
std::string_view firstFiveCharacters(std::string_view utf8);

}  // namespace kestrel
