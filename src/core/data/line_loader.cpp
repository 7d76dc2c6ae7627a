#include "core/data/line_loader.h"

#include <optional>
#include <vector>

#include "core/data/key_loop.h"
#include "core/data/line_sections.h"
#include "core/util/fatal_error.h"

namespace kestrel {

namespace {

using line_sections::Ctx;
using Rule = KeyRule<Ctx>;

void readIntList(Ctx& c, std::vector<int32_t>& list, size_t capacity) {
  list.clear();
  c.r.table([&](const std::string& row) {
    requireRoom(list.size(), capacity);
    list.push_back(SectionReader::toInt(row));
  });
}

void readTextList(Ctx& c, std::vector<std::string>& list, size_t capacity) {
  list.clear();
  c.r.table([&](const std::string& row) {
    requireRoom(list.size(), capacity);
    list.push_back(row);
  });
}

// A table of comma rows of N integers.
template <class Row>
void readIntRows(Ctx& c, std::vector<Row>& rows, size_t capacity, bool skipSemicolonRows = false) {
  rows.clear();
  c.r.table(
      [&](const std::string&) {
        requireRoom(rows.size(), capacity);
        Row row;
        for (int n = 1; n < static_cast<int>(row.field.size()); ++n) row.f(n) = c.r.intField(n);
        rows.push_back(row);
      },
      skipSemicolonRows);
}

void readStaf(Ctx& c) {
  for (std::string& name : c.l.Staf) name = c.r.valueLine();
}

// The first value line always belongs to the list, even when it starts with '#'.
void readStafSwitch(Ctx& c) {
  auto& list = c.l.StafSwitch;
  list.clear();
  list.push_back(c.r.intLine());
  c.r.table([&](const std::string& row) {
    requireRoom(list.size(), LineData::kStafSwitchCapacity);
    list.push_back(SectionReader::toInt(row));
  });
}

void readMovieSwitch(Ctx& c) {
  auto& rows = c.l.MovieSwitch;
  rows.clear();
  c.r.table([&](const std::string&) {
    requireRoom(rows.size(), LineData::kMovieSwitchCapacity);
    MovieSwitchRow row;
    row.type = c.r.intField(1);
    row.windowStart = c.r.intField(2);
    row.windowEnd = c.r.intField(3);
    row.movie = c.r.textField(4);
    row.frameCount = c.r.intField(5);
    row.resumeOrStation = c.r.intField(6);
    row.afterTime = c.r.intField(7);
    row.soundFrame = c.r.intField(8);
    row.sound = c.r.intField(9);
    rows.push_back(row);
  });
}

void readPerspective(Ctx& c) {
  c.l.PerspectiveValues.P = c.r.decimalLine();
  c.l.PerspectiveValues.K = c.r.intLine();
}

void readPreTrain(Ctx& c) {
  PreTrain& pre = c.l.Pre_Train;
  c.r.valueLine();
  pre.startPos = c.r.intField(1);
  pre.removePos = c.r.intField(2);
  pre.rows.clear();
  c.r.table([&](const std::string&) {
    requireRoom(pre.rows.size(), LineData::kPreTrainCapacity);
    pre.rows.push_back({c.r.intField(1), c.r.intField(2), c.r.intField(3)});
  });
}

void readAnnounce(Ctx& c) {
  Announce& a = c.l.AnnounceTable;
  a.first = c.r.intLine();
  a.rows.clear();
  c.r.table([&](const std::string&) {
    requireRoom(a.rows.size(), LineData::kAnnounceCapacity);
    a.rows.push_back({c.r.intField(1), c.r.intField(2), c.r.intField(3), c.r.intField(4)});
  });
}

void readKankoSound2(Ctx& c) {
  auto& rows = c.l.KankoSound2;
  rows.clear();
  c.r.table([&](const std::string& row) {
    requireRoom(rows.size(), LineData::kKankoSound2Capacity);
    rows.push_back({row, static_cast<int32_t>(rows.size())});
  });
}

void readTunnel(Ctx& c) {
  auto& rows = c.l.Tunnel;
  rows.clear();
  c.r.table([&](const std::string&) {
    requireRoom(rows.size(), LineData::kRowCapacity);
    TunnelRow row;
    row.entry = c.r.intField(1);
    row.exit = c.r.intField(2);
    row.level = c.r.intField(3);
    rows.push_back(row);
  });
}

void readStation(Ctx& c) {
  auto& rows = c.l.Station;
  rows.clear();
  c.r.table([&](const std::string&) {
    requireRoom(rows.size(), LineData::kRowCapacity);
    StationRow row;
    row.name = c.r.textField(1);
    for (int n = 2; n <= 15; ++n) row.field[static_cast<size_t>(n)] = c.r.intField(n);
    rows.push_back(row);
  });
}

void readSlope(Ctx& c) {
  auto& rows = c.l.Slope;
  rows.clear();
  c.r.table([&](const std::string&) {
    requireRoom(rows.size(), LineData::kRowCapacity);
    rows.push_back({c.r.fixedField(1), c.r.intField(2), c.r.intField(3)});
  });
}

void readSpeedUnit(Ctx& c) {
  c.l.SpeedUnit.clear();
  readSpeedUnitRows(c.r, c.l.SpeedUnit);
}

constexpr size_t kRows = LineData::kRowCapacity;

constexpr Rule kLineRules[] = {
    {"[LineName]", {}, [](Ctx& c) { c.l.LineName = c.r.valueLine(); }},
    {"[LineName2]", {}, [](Ctx& c) { c.l.LineName2 = c.r.valueLine(); }},
    {"[StartPos]", {}, [](Ctx& c) { c.l.StartPos = c.r.intLine(); }},
    {"[FrameRate]", {}, [](Ctx& c) { c.l.FrameRate = c.r.intLine(); }},
    {"[Staf]", {}, readStaf},
    {"[Friction]", {}, [](Ctx& c) { c.l.Friction = c.r.fixedLine(); }},
    {"[StafSwitch]", "[StafSwitch]", readStafSwitch},
    {"[MovieStop]", "[MovieStop]", [](Ctx& c) { readIntList(c, c.l.MovieStop, LineData::kMovieStopCapacity); }},
    {"[MovieSwitch]", "[MovieSwitch]", readMovieSwitch},
    {"[Speed_Signal]", "[Speed_Signal]",
     [](Ctx& c) { readIntList(c, c.l.Speed_Signal, LineData::kSpeedSignalCapacity); }},
    {"[DataName]", {}, [](Ctx& c) { c.l.DataName = c.r.valueLine(); }},
    {"[Perspective]", {}, readPerspective},
    {"[Pre_Train]", "[Pre_Train]", readPreTrain},
    {"[OneMan]", {}, [](Ctx& c) { c.l.OneMan = c.r.intLine(); }},
    {"[SoundData]", "[SoundData]", [](Ctx& c) { readTextList(c, c.l.SoundData, kRows); }},
    {"[Monitor]", {}, line_sections::readMonitor},
    {"[Announce]", "[Announce]", readAnnounce},
    {"[KankoSound1]", "[KankoSound1]", [](Ctx& c) { for (auto& f : c.l.KankoSound1) f = c.r.valueLine(); }},
    {"[KankoSound2]", "[KankoSound2]", readKankoSound2},
    {"[Sound]", "[Sound]", [](Ctx& c) { readIntRows(c, c.l.Sound, kRows, true); }},
    {"[Sound2]", "[Sound2]", [](Ctx& c) { readIntRows(c, c.l.Sound2, kRows, true); }},
    {"[Doppler]", "[Doppler]", [](Ctx& c) { readIntRows(c, c.l.Doppler, kRows); }},
    {"[Tunnel]", "[Tunnel]", readTunnel},
    {"[Atten]", "[Atten]", [](Ctx& c) { readIntRows(c, c.l.Atten, kRows); }},
    {"[TunnelR]", "[TunnelR]", [](Ctx& c) { c.l.TunnelR = c.r.intLine(); }},
    {"[Station]", "[Station]", readStation},
    {"[StopSound]", "[StopSound]", [](Ctx& c) { readIntList(c, c.l.StopSound, kRows); }},
    {"[Signal]", "[Signal]", [](Ctx& c) { readIntRows(c, c.l.Signal, kRows); }},
    {"[TrafficSignal]", "[TrafficSignal]", [](Ctx& c) { readIntRows(c, c.l.TrafficSignal, kRows); }},
    {"[Slope]", "[Slope]", readSlope},
    {"[Sign]", "[Sign]", [](Ctx& c) { readIntRows(c, c.l.Sign, kRows); }},
    {"[Anim]", "[Anim]", [](Ctx& c) { readIntRows(c, c.l.Anim, kRows); }},
    {"[SignalKanko]", "[SignalKanko]", [](Ctx& c) { readIntRows(c, c.l.SignalKanko, kRows); }},
    {"[StationKanko]", "[StationKanko]", [](Ctx& c) { readIntRows(c, c.l.StationKanko, kRows); }},
    {"[SpeedLimit]", "[SpeedLimit]", [](Ctx& c) { readIntRows(c, c.l.SpeedLimit, kRows); }},
    {"[SpeedCheck1]", "[SpeedCheck1]", [](Ctx& c) { readIntRows(c, c.l.SpeedCheck1, kRows); }},
    {"[SpeedCheck2]", "[SpeedCheck2]", [](Ctx& c) { readIntRows(c, c.l.SpeedCheck2, kRows); }},
    {"[SignImageList]", "[SignImageList]", line_sections::readSignImageList},
    {"[SignalImageList]", "[SignalImageList]", line_sections::readSignalImageList},
    {"[OtherKanko]", "[OtherKanko]", [](Ctx& c) { readTextList(c, c.l.OtherKanko, LineData::kKankoListCapacity); }},
    {"[LimitKanko]", "[LimitKanko]", [](Ctx& c) { readTextList(c, c.l.LimitKanko, LineData::kKankoListCapacity); }},
    {"[AnimImageList]", "[AnimImageList]", line_sections::readAnimImageList},
    {"[TrafficSignalImageList]", "[TrafficSignalImageList]", line_sections::readTrafficSignalImageList},
    {"[SpeedUnit]", "[SpeedUnit]", readSpeedUnit},
    {"[CrossImageList]", "[CrossImageList]", line_sections::readCrossImageList},
    {"[Cross]", "[Cross]", [](Ctx& c) { readIntRows(c, c.l.Cross, LineData::kCrossCapacity); }},
    {"[Time]", "[Time]", [](Ctx& c) { readIntRows(c, c.l.Time, LineData::kTimeCapacity); }},
    {"[Switch]", "[Switch]", [](Ctx& c) { readIntRows(c, c.l.Switch, LineData::kSwitchCapacity); }},
};

FatalError lineFault(std::string_view label, std::string_view lastLine) {
  return FatalError(std::string(kLineFileFault) + std::string(label) + ":" + std::string(lastLine));
}

}  // namespace

void readSpeedUnitRows(SectionReader& reader, std::vector<SpeedUnitRow>& rows) {
  reader.table([&](const std::string&) {
    requireRoom(rows.size(), LineData::kSpeedUnitCapacity);
    SpeedUnitRow row;
    row.start = reader.intField(1);
    row.end = reader.intField(2);
    row.vStart = reader.decimalField(3);
    row.vEnd = reader.decimalField(4);
    rows.push_back(row);
  });
}

void loadLine(SectionReader& reader, const LineLoadContext& context, LineData& line, PictureCatalog& catalog,
              FaultLog* collect) {
  Ctx c{reader, line, catalog, context};
  std::string label;
  collectInto(reader, collect, [&label, &reader] { return lineFault(label, reader.line()).message(); });
  try {
    runKeyLoop<Ctx>(reader, kLineRules, c, kLineBaseLabel, label);
  } catch (const SectionFault&) {
    throw lineFault(label, reader.line());
  }
  stopCollecting(reader);
}

void loadLineFile(const std::filesystem::path& path, const LineLoadContext& context, LineData& line,
                  PictureCatalog& catalog, FaultLog* collect) {
  std::optional<SectionReader> reader;
  try {
    reader.emplace(SectionReader::fromFile(path));
  } catch (const SectionFault&) {
    if (!collect) throw lineFault(kLineBaseLabel, "");
    collect->add(path, 0, lineFault(kLineBaseLabel, "").message());
    return;
  }
  loadLine(*reader, context, line, catalog, collect);
}

}  // namespace kestrel
