#include "core/controls/serial_commands.h"

#include <algorithm>

#include "core/controls/control_operations.h"
#include "core/controls/key_handlers.h"
#include "core/controls/mascon_update.h"
#include "core/util/cp932.h"

namespace kestrel {

std::optional<std::string> SerialReceiveBuffer::RxChar(std::string_view chunk) {
  if (chunk.find('\r') == std::string_view::npos) {
    buffer_.append(chunk.substr(0, kMaxPending - std::min(buffer_.size(), kMaxPending)));
    return std::nullopt;
  }
  std::string command = std::move(buffer_);
  command.append(chunk);
  buffer_.clear();
  return command;
}

std::string_view firstFiveCharacters(std::string_view s) {
  size_t i = 0;
  for (int n = 0; n < 5 && i < s.size(); ++n) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;  // continuation bytes
  }
  return s.substr(0, i);
}

namespace {

constexpr size_t kNeutralEntry = 7;
constexpr size_t kLastBrakeEntry = 16;
constexpr size_t kLastReverserEntry = 19;

// The effect of table entry `entry` (1 .. 23).
void masconEntry(DriveContext& ctx, size_t entry) {
  ControlState& c = ctx.control;
  const auto n = static_cast<int32_t>(entry);
  if (entry <= kNeutralEntry) {
    // Notches 1 to 6 and neutral; the hold position stays as it is.
    c.powerHandle = entry == kNeutralEntry ? 0 : clampPosition(ctx, n);
    c.brakeHandle = 0;
    raiseAll(ctx.train);
    masconupdate(ctx);
  } else if (entry <= kLastBrakeEntry) {
    c.powerHandle = 0;
    c.brakeHandle = clampPosition(ctx, -(n - static_cast<int32_t>(kNeutralEntry)));
    raiseAll(ctx.train);
    masconupdate(ctx);
  } else if (entry <= kLastReverserEntry) {
    SetReverser(ctx, entry == 17 ? 1 : (entry == 18 ? 0 : -1));  // refused while moving
    masconupdate(ctx);
  } else {
    // The ATS acknowledgement, horn, door and announcement buttons are their keys.
    static constexpr char32_t kButtonKeys[] = {U' ', U'3', U'7', U'1'};
    ctx.keys.postedCharacters.push_back(kButtonKeys[entry - 20]);
  }
}

}  // namespace

void SerialCommand(DriveContext& ctx, std::string_view command) {
  resetVigilance(ctx);
  ctx.keys.serialCommandText = decodeCp932(command);
  const std::string_view p = firstFiveCharacters(ctx.keys.serialCommandText);
  const auto& table = ctx.settings.mascon;
  const size_t entries = std::min(table.size(), kMasconCommandEntries);
  // Every entry is compared on its own: a table that repeats a code performs each of its entries.
  for (size_t i = 0; i < entries; ++i)
    if (table[i] == p) masconEntry(ctx, i + 1);
}

}  // namespace kestrel
