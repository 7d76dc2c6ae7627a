#pragma once
// The drive trace: a CSV file (RFC 4180, UTF-8, a header row) with one row per tick, or every Nth
// tick, written after the tick has run. Columns are declared once, in order, in traceColumns();
// later rules append theirs at the end. A column is never renamed or reordered, so that traces
// stay comparable.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/ports/mixer.h"
#include "core/state/control_state.h"
#include "core/state/sprite_scene.h"
#include "core/state/train_state.h"
#include "core/util/csv_field.h"     // csvField, for the trace and its tests
#include "core/util/seconds_text.h"  // formatSeconds, for the trace, the logs and their tests

namespace kestrel::run {

struct TraceSource {
  int64_t timeUs;  // the tick's virtual time
  const TrainState& train;
  const ControlState& control;
  const Mixer* mixer = nullptr;          // for the channels playing; none: the column stays empty
  const SpriteScene* sprites = nullptr;  // for the trackside pictures; none: their columns stay empty
  // A race against a ghost: its frame at this time, and the time difference at this place.
  std::optional<int32_t> ghostFrame;
  std::optional<double> ghostDeltaS;
};

struct TraceColumn {
  std::string_view name;
  std::function<std::string(const TraceSource&)> value;
};

const std::vector<TraceColumn>& traceColumns();

// Decimal text of a double with `places` decimals; never "-0.000".
std::string formatDecimal(double value, int places);

class TraceWriter {
 public:
  // Writes a row for tick 1, 1 + every, 1 + 2 every, ...
  TraceWriter(std::ostream& out, int every);
  void writeHeader();
  void tick(const TraceSource& source);

 private:
  std::ostream& out_;
  int every_;
  int64_t ticks_ = 0;
};

}  // namespace kestrel::run
