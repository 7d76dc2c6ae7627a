#include "core/data/line_distances.h"

#include <functional>

#include "core/util/rounding.h"

namespace kestrel {

namespace {

// One kind of entry to convert: its position and where its distance goes.
struct Entries {
  const char* table;
  size_t count;
  std::function<int32_t(size_t)> position;
  std::function<void(size_t, double)> store;
};

class Converter {
 public:
  Converter(const std::vector<SpeedUnitRow>& rows, std::vector<std::string>* warnings)
      : rows_(rows), warnings_(warnings) {
    double d = 0;
    for (const SpeedUnitRow& r : rows_) {
      rowStart_.push_back(d);
      d += speedUnitRowLengthCm(r);
      rowEnd_.push_back(d);
    }
  }

  double rowEnd(size_t r) const { return rowEnd_[r]; }

  // Converts every entry over all rows, in row order; returns the entries met, each once, in the
  // order they were first met.
  std::vector<size_t> convert(const Entries& e) {
    std::vector<bool> met(e.count, false);
    std::vector<size_t> order;
    for (size_t r = 0; r < rows_.size(); ++r) {
      const SpeedUnitRow& row = rows_[r];
      for (size_t i = 0; i < e.count; ++i) {
        const int32_t f = e.position(i);
        if (f < row.start || f > row.end) continue;
        e.store(i, speedUnitDistance(row, rowStart_[r], f));
        if (!met[i]) order.push_back(i);
        met[i] = true;
      }
    }
    reportUncovered(e, met);
    return order;
  }

 private:
  void reportUncovered(const Entries& e, const std::vector<bool>& met) {
    if (!warnings_) return;
    size_t missed = 0, first = 0;
    for (size_t i = e.count; i-- > 0;)
      if (!met[i]) ++missed, first = i;
    if (missed == 0) return;
    warnings_->push_back(std::string(e.table) + ": " + std::to_string(missed) +
                         " position(s) outside every [SpeedUnit] row keep distance 0 (first: row " +
                         std::to_string(first + 1) + ", position " + std::to_string(e.position(first)) + ")");
  }

  const std::vector<SpeedUnitRow>& rows_;
  std::vector<std::string>* warnings_;
  std::vector<double> rowStart_, rowEnd_;
};

}  // namespace

double speedUnitRowLengthCm(const SpeedUnitRow& row) {
  return roundHalfAway((row.vStart + row.vEnd) * (static_cast<double>(row.end) - row.start) / 2.16);
}

double speedUnitDistance(const SpeedUnitRow& row, double rowStartCm, double f) {
  const double span = static_cast<double>(row.end) - row.start;
  const double elapsed = f - row.start;
  // A row of zero length has no slope; only its start lies in it.
  const double slope = span != 0 ? (row.vEnd - row.vStart) / span : 0.0;
  return rowStartCm + roundHalfAway((slope * elapsed + 2 * row.vStart) / 7.2 * (elapsed / 30) * 100);
}

std::optional<double> frameDistanceCm(const std::vector<SpeedUnitRow>& rows, int32_t frame) {
  for (size_t r = rows.size(); r-- > 0;) {
    if (rows[r].start > frame || frame >= rows[r].end) continue;
    return speedUnitDistance(rows[r], r == 0 ? 0 : rows[r - 1].endDistanceCm, frame);
  }
  return std::nullopt;
}

void convertLineDistances(LineData& line, std::vector<std::string>* warnings) {
  Converter conv(line.SpeedUnit, warnings);
  for (size_t r = 0; r < line.SpeedUnit.size(); ++r) line.SpeedUnit[r].endDistanceCm = conv.rowEnd(r);
  line.events.clear();

  auto& signals = line.Signal;
  for (auto& s : signals) s.positionCm = 0;
  for (size_t i : conv.convert({"[Signal]", signals.size(), [&](size_t i) { return signals[i].position(); },
                                [&](size_t i, double d) { signals[i].positionCm = d; }}))
    line.events.push_back({signals[i].positionCm, 10, static_cast<int32_t>(i), 2});

  auto& limits = line.SpeedLimit;
  for (auto& l : limits) l.startCm = 0;
  for (size_t i : conv.convert({"[SpeedLimit]", limits.size(), [&](size_t i) { return limits[i].start(); },
                                [&](size_t i, double d) { limits[i].startCm = d; }}))
    line.events.push_back({limits[i].startCm, limits[i].limit(), static_cast<int32_t>(i), limits[i].f(3)});

  auto& check1 = line.SpeedCheck1;
  for (auto& c : check1) c.positionCm = 0;
  conv.convert({"[SpeedCheck1]", check1.size(), [&](size_t i) { return check1[i].f(3); },
                [&](size_t i, double d) { check1[i].positionCm = d; }});

  auto& check2 = line.SpeedCheck2;
  for (auto& c : check2) c.startCm = c.endCm = 0;
  conv.convert({"[SpeedCheck2] start", check2.size(), [&](size_t i) { return check2[i].f(3); },
                [&](size_t i, double d) { check2[i].startCm = d; }});
  conv.convert({"[SpeedCheck2] end", check2.size(), [&](size_t i) { return check2[i].f(4); },
                [&](size_t i, double d) { check2[i].endCm = d; }});

  auto& stations = line.Station;
  for (auto& s : stations) s.stopDistanceCm = 0;
  conv.convert({"[Station]", stations.size(), [&](size_t i) { return stations[i].stopFrame(); },
                [&](size_t i, double d) { stations[i].stopDistanceCm = d; }});
  for (auto& s : stations) {
    s.platformStartCm = s.stopDistanceCm - s.halfWidthCm();
    s.platformEndCm = s.stopDistanceCm + s.halfWidthCm();
  }

  auto& traffic = line.TrafficSignal;
  for (auto& t : traffic) t.positionCm = 0;
  conv.convert({"[TrafficSignal]", traffic.size(), [&](size_t i) { return traffic[i].f(1); },
                [&](size_t i, double d) { traffic[i].positionCm = d; }});

  auto& doppler = line.Doppler;
  for (auto& s : doppler) s.positionCm = 0;
  conv.convert({"[Doppler]", doppler.size(), [&](size_t i) { return doppler[i].f(2); },
                [&](size_t i, double d) { doppler[i].positionCm = d; }});

  auto& tunnels = line.Tunnel;
  for (auto& t : tunnels) t.entryCm = t.exitCm = 0;
  conv.convert({"[Tunnel] entry", tunnels.size(), [&](size_t i) { return tunnels[i].entry; },
                [&](size_t i, double d) { tunnels[i].entryCm = d; }});
  conv.convert({"[Tunnel] exit", tunnels.size(), [&](size_t i) { return tunnels[i].exit; },
                [&](size_t i, double d) { tunnels[i].exitCm = d; }});
}

}  // namespace kestrel
