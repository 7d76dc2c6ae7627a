#include "core/front/speed_unit_reload.h"

#include <cassert>
#include <optional>
#include <vector>

#include "core/data/line_distances.h"
#include "core/data/line_loader.h"
#include "core/data/section_reader.h"
#include "core/sim/frame_advance.h"
#include "core/util/path_lookup.h"

namespace kestrel {

namespace {

constexpr std::string_view kKey = "[SpeedUnit]";

// The rows of the last [SpeedUnit] section, as far as they could be read.
std::optional<std::vector<SpeedUnitRow>> readTable(SectionReader& reader, SpeedUnitReload& out) {
  std::optional<std::vector<SpeedUnitRow>> rows;
  try {
    while (reader.nextLine()) {
      if (!reader.at(kKey)) continue;
      rows.emplace();
      readSpeedUnitRows(reader, *rows);
    }
  } catch (const SectionFault&) {
    out.stoppedAt = reader.line();
  }
  return rows;
}

// A standing type-1 pattern is drawn to an entry of the merged event list, which the conversion
// made anew: the pattern follows its entry, or ends when the entry is no longer in the list.
void followPatternEntry(DriveContext& ctx, const std::vector<LineEvent>& before) {
  SignalState& s = ctx.train.signals;
  const int32_t old = s.patternEntry;
  if (old < 0) return;
  const auto& after = ctx.line.events;
  std::optional<size_t> found;
  if (static_cast<size_t>(old) < before.size()) {
    const LineEvent& e = before[static_cast<size_t>(old)];
    for (size_t j = 0; j < after.size() && !found; ++j)
      if (after[j].kind == e.kind && after[j].index == e.index) found = j;
  }
  if (!found) {
    s.patternTarget = SignalState::kNoPattern;
    s.patternDistance = 0;
    s.patternKind = PatternKind::None;
    s.patternEntry = -1;
    s.loggedBeacon = -1;
    return;
  }
  s.patternEntry = static_cast<int32_t>(*found);
  s.patternDistance = after[*found].distanceCm;
  s.loggedBeacon =
      s.loggedBeacon >= 0 && s.loggedBeacon / 8 == old ? s.patternEntry * 8 + s.loggedBeacon % 8 : -1;
}

// The train on the new table: same frame, that frame's distance and filming speed.
void placeTrain(DriveContext& ctx, LineData& line, const std::vector<LineEvent>& eventsBefore,
                std::optional<double> stopBefore) {
  TrainState& t = ctx.train;
  t.frameRow = -1;  // no distance reset: the lookup only finds the row and its filming speed
  motion::lookUpSpeedUnit(ctx);
  if (const auto d = frameDistanceCm(line.SpeedUnit, t.MovieFrame)) {
    t.gradientSampleAt += *d - t.distanceRun;  // the samples keep their spacing
    t.distanceRun = *d;
  }
  const int32_t next = t.stations.nextStopStation;
  if (stopBefore && t.stopTarget == *stopBefore)
    t.stopTarget = line.Station[static_cast<size_t>(next)].stopDistanceCm;
  t.distanceToStop = t.stopTarget - t.distanceRun;
  followPatternEntry(ctx, eventsBefore);
}

}  // namespace

SpeedUnitReload Button1Click(const std::filesystem::path& lineFile, LineData& line, DriveContext& ctx) {
  assert(&line == &ctx.line);
  SpeedUnitReload out;
  std::optional<SectionReader> reader;
  try {
    reader.emplace(SectionReader::fromFile(lineFile));
  } catch (const SectionFault&) {
    return out;
  }
  out.opened = true;
  auto rows = readTable(*reader, out);
  out.rows = rows ? static_cast<int32_t>(rows->size()) : 0;
  if (!rows || rows->empty()) return out;

  const std::vector<LineEvent> eventsBefore = line.events;
  const int32_t next = ctx.train.stations.nextStopStation;
  std::optional<double> stopBefore;
  if (next >= 0 && next < static_cast<int32_t>(line.Station.size()))
    stopBefore = line.Station[static_cast<size_t>(next)].stopDistanceCm;

  line.SpeedUnit = std::move(*rows);
  convertLineDistances(line);
  out.replaced = true;
  placeTrain(ctx, line, eventsBefore, stopBefore);
  return out;
}

SpeedUnitReload Button1Click(LoadedSession& loaded, DriveContext& ctx) {
  return Button1Click(resolveDataPath(loaded.choice.programDirectory, loaded.choice.lineFileName),
                      loaded.line, ctx);
}

std::string reloadReport(const SpeedUnitReload& reload) {
  const std::string head = "SU再読込: ";
  if (!reload.opened) return head + "路線ファイルを開けません";
  std::string text = head + std::string(kKey) + " " + std::to_string(reload.rows) + "行";
  if (!reload.stoppedAt.empty()) text += " (読み込みを中断: " + reload.stoppedAt + ")";
  if (!reload.replaced) text += " 変更なし";
  return text;
}

}  // namespace kestrel
