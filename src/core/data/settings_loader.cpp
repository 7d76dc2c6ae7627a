#include "core/data/settings_loader.h"

#include <array>

#include "core/data/key_loop.h"
#include "core/util/cp932.h"
#include "core/util/fatal_error.h"
#include "core/util/file_bytes.h"

namespace kestrel {

namespace {

constexpr std::array<const char*, 5> kPreferenceNames = {"Kanko", "Information", "ATS", "Tunnel", "Moji"};

std::array<int32_t*, 5> preferenceFields(Preferences& p) {
  return {&p.CalloutsOff, &p.NoCommentary, &p.AtsOff, &p.VisualEffectsOff, &p.TextMode};
}

struct RailvaneContext {
  SectionReader& r;
  SettingsData& s;
};

void readText(RailvaneContext& c, std::string& field) { field = c.r.valueLine(); }

template <size_t N>
void readTexts(RailvaneContext& c, std::array<std::string, N>& fields) {
  for (std::string& f : fields) f = c.r.valueLine();
}

void readCaption(RailvaneContext& c, std::optional<std::string>& caption) { caption = c.r.valueLine(); }

void readDisp(RailvaneContext& c) {
  DisplaySettings& d = c.s.Disp;
  c.r.valueLine();
  d.TickRate = c.r.intField(1);
  d.MovieFrameFactor = c.r.intField(2);
  for (int32_t* field : {&d.StafX, &d.DisplayWidth, &d.MovieHeight, &d.PanelHeight}) {
    c.r.valueLine();
    *field = c.r.intField(1);
  }
}

void readInfoLabel(RailvaneContext& c) {
  c.s.InfoLabel.clear();
  c.r.table([&](const std::string& row) {
    requireRoom(c.s.InfoLabel.size(), SettingsData::kInfoLabelCapacity);
    c.s.InfoLabel.push_back(row);
  });
}

using Rule = KeyRule<RailvaneContext>;
constexpr Rule kRailvaneRules[] = {
    {"[Disp]", {}, readDisp},
    {"[Path]", {}, [](RailvaneContext& c) { readText(c, c.s.Path); }},
    {"[Forward]", {}, [](RailvaneContext& c) { readText(c, c.s.Forward); }},
    {"[Neutral]", {}, [](RailvaneContext& c) { readText(c, c.s.Neutral); }},
    {"[Reverse]", {}, [](RailvaneContext& c) { readText(c, c.s.Reverse); }},
    {"[Stop]", {}, [](RailvaneContext& c) { readText(c, c.s.Stop); }},
    {"[Pass]", {}, [](RailvaneContext& c) { readText(c, c.s.Pass); }},
    {"[Stop2]", {}, [](RailvaneContext& c) { readText(c, c.s.Stop2); }},
    {"[Neut]", {}, [](RailvaneContext& c) { readText(c, c.s.Neut); }},
    {"[Neut2]", {}, [](RailvaneContext& c) { readText(c, c.s.Neut2); }},
    {"[Apply]", {}, [](RailvaneContext& c) { readText(c, c.s.Apply); }},
    {"[Maintain]", {}, [](RailvaneContext& c) { readText(c, c.s.Maintain); }},
    {"[Remove]", {}, [](RailvaneContext& c) { readText(c, c.s.Remove); }},
    {"[Hold]", {}, [](RailvaneContext& c) { readText(c, c.s.Hold); }},
    {"[Hold2]", {}, [](RailvaneContext& c) { readText(c, c.s.Hold2); }},
    {"[EB]", {}, [](RailvaneContext& c) { readText(c, c.s.EB); }},
    {"[Const]", {}, [](RailvaneContext& c) { readText(c, c.s.Const); }},
    {"[Cars]", {}, [](RailvaneContext& c) { readText(c, c.s.Cars); }},
    {"[TC]", {}, [](RailvaneContext& c) { readText(c, c.s.TC); }},
    {"[Stops]", {}, [](RailvaneContext& c) { readTexts(c, c.s.Stops); }},
    {"[Doors]", {}, [](RailvaneContext& c) { readTexts(c, c.s.Doors); }},
    {"[Gears]", {}, [](RailvaneContext& c) { readTexts(c, c.s.Gears); }},
    {"[InfoLabel]", {}, readInfoLabel},
    {"[Start]", {}, [](RailvaneContext& c) { readCaption(c, c.s.Start); }},
    {"[Move]", {}, [](RailvaneContext& c) { readCaption(c, c.s.Move); }},
    {"[Display]", {}, [](RailvaneContext& c) { readCaption(c, c.s.Display); }},
    {"[Control]", {}, [](RailvaneContext& c) { readCaption(c, c.s.Control); }},
    {"[Save]", {}, [](RailvaneContext& c) { readCaption(c, c.s.Save); }},
};

}  // namespace

void readPreferences(PreferenceStore& store, Preferences& preferences) {
  auto key = store.openKey(kPreferenceKeyPath);
  if (!key) return;
  Preferences read = preferences;
  auto fields = preferenceFields(read);
  for (size_t i = 0; i < kPreferenceNames.size(); ++i) {
    auto value = key->readInt(kPreferenceNames[i]);
    if (!value) {
      preferences = Preferences{};
      return;
    }
    *fields[i] = *value;
  }
  preferences = read;
}

void writePreferences(PreferenceStore& store, const Preferences& preferences) {
  auto key = store.openKey(kPreferenceKeyPath);
  if (!key) return;
  Preferences copy = preferences;
  auto fields = preferenceFields(copy);
  for (size_t i = 0; i < kPreferenceNames.size(); ++i) key->writeInt(kPreferenceNames[i], *fields[i]);
}

void readControllerCodes(PreferenceStore& store, ControllerCodes& codes) {
  auto key = store.openKey(kControllerKeyPath);
  if (!key) return;
  auto readInto = [&](const std::string& name, int32_t& field) {
    auto value = key->readInt(name);
    if (value) field = *value;
    return value.has_value();
  };
  for (size_t i = 0; i < codes.P.size(); ++i)
    if (!readInto("P" + std::to_string(i), codes.P[i])) return;
  for (size_t i = 0; i < codes.B.size(); ++i)
    if (!readInto("B" + std::to_string(i), codes.B[i])) return;
  readInto("EB", codes.EB);
}

void writeControllerCodes(PreferenceStore& store, const ControllerCodes& codes) {
  auto key = store.openKey(kControllerKeyPath);
  if (!key) return;
  for (size_t i = 0; i < codes.P.size(); ++i) key->writeInt("P" + std::to_string(i), codes.P[i]);
  for (size_t i = 0; i < codes.B.size(); ++i) key->writeInt("B" + std::to_string(i), codes.B[i]);
  key->writeInt("EB", codes.EB);
}

std::vector<std::string> loadMascon(const std::filesystem::path& path, FaultLog* collect) {
  const auto bytes = readFileBytes(path);
  if (!bytes) {
    if (!collect) throw FatalError(std::string(kMasconMissing));
    collect->add(path, 0, std::string(kMasconMissing));
    return {};
  }
  return parseMascon(*bytes, collect, path);
}

std::vector<std::string> parseMascon(std::string_view cp932Bytes, FaultLog* collect,
                                     const std::filesystem::path& path) {
  std::vector<std::string> table;
  int32_t number = 0;
  for (DecodedLine& line : decodeCp932Lines(cp932Bytes)) {
    ++number;
    if (!line.text.empty() && line.text.front() == '#') break;
    const bool full = table.size() >= SettingsData::kMasconCapacity;
    if (line.malformed || full) {
      if (!collect) throw FatalError(std::string(kMasconFaulty));
      collect->add(path, number, std::string(kMasconFaulty));
      if (full) break;
      continue;
    }
    table.push_back(std::move(line.text));
  }
  return table;
}

void loadRailvane(SectionReader& reader, SettingsData& settings, FaultLog* collect) {
  RailvaneContext context{reader, settings};
  std::string label;
  collectInto(reader, collect, [] { return std::string(kStringFileFault); });
  try {
    runKeyLoop<RailvaneContext>(reader, kRailvaneRules, context, {}, label);
  } catch (const SectionFault&) {
    throw FatalError(std::string(kStringFileFault));
  }
  stopCollecting(reader);
}

void loadRailvaneFile(const std::filesystem::path& path, SettingsData& settings, FaultLog* collect) {
  std::optional<SectionReader> reader;
  try {
    reader.emplace(SectionReader::fromFile(path));
  } catch (const SectionFault&) {
    if (!collect) throw FatalError(std::string(kStringFileFault));
    collect->add(path, 0, std::string(kStringFileFault));
    return;
  }
  loadRailvane(*reader, settings, collect);
}

}  // namespace kestrel
