#include "core/data/vehicle_loader.h"

#include <optional>
#include <vector>

#include "core/util/fatal_error.h"

namespace kestrel {

namespace {

using Ctx = VehicleContext;
using Rule = KeyRule<Ctx>;

void readInt(Ctx& c, int32_t& field) { field = c.r.intLine(); }

template <size_t N>
void readInts(Ctx& c, std::array<int32_t, N>& fields) {
  for (int32_t& f : fields) f = c.r.intLine();
}

// A sound-number list whose length comes from [Brake] or [Power] as read so far; a count of zero
// or less reads nothing.
void readSoundList(Ctx& c, std::vector<int32_t>& list, int64_t count) {
  list.clear();
  if (count > static_cast<int64_t>(VehicleParams::kSoundListCapacity))
    throw SectionFault("sound list longer than " + std::to_string(VehicleParams::kSoundListCapacity));
  for (int64_t i = 0; i < count; ++i) list.push_back(c.r.intLine());
}

void readSoundEB(Ctx& c) {
  c.v.Sound_EB[0] = c.r.intLine();
  const std::string& second = c.r.valueLine();
  c.v.Sound_EB[1] = !second.empty() && second.front() == ';' ? 0 : SectionReader::toInt(second);
}

void readSoundHorn4(Ctx& c) {
  readInts(c, c.v.Sound_Horn4);
  c.v.Sound_Horn4Value = c.r.intLine();
  c.v.Sound_Horn4Fixed = Fixed::fromInt(c.v.Sound_Horn4Value);
}

void readGearType(Ctx& c) {
  const std::string& line = c.r.valueLine();
  if (line == "AT") c.v.Gear_Type = 0;
  if (line == "MT") c.v.Gear_Type = 1;
}

void readSwitchSound(Ctx& c) {
  c.v.SwitchSound.clear();
  c.r.table([&](const std::string&) {
    requireRoom(c.v.SwitchSound.size(), VehicleParams::kOtherTableCapacity);
    c.v.SwitchSound.push_back({c.r.intField(1), c.r.intField(2), c.r.intField(3)});
  });
}

void readEngineRate(Ctx& c) {
  c.v.EngineRate.clear();
  c.r.table([&](const std::string&) {
    requireRoom(c.v.EngineRate.size(), VehicleParams::kEngineRateCapacity);
    c.v.EngineRate.push_back({c.r.intField(1), c.r.decimalField(2)});
  });
}

// Entry m of the index is the first row of power-mode group m: the counter moves on by one
// whenever a row's group differs from it.
void derivePowerModeIndex(VehicleParams& v) {
  size_t counter = 0;
  for (size_t row = 0; row < v.Notch.size(); ++row) {
    if (v.Notch[row].group == static_cast<int32_t>(counter)) continue;
    ++counter;
    if (counter >= v.powerModeIndex.size()) throw SectionFault("more power-mode groups than the index holds");
    v.powerModeIndex[counter] = static_cast<int32_t>(row);
  }
}

void readNotch(Ctx& c) {
  c.v.Notch.clear();
  c.r.groupTable([&](const std::string& first) {
    requireRoom(c.v.Notch.size(), VehicleParams::kOtherTableCapacity);
    NotchRow row;
    row.A = SectionReader::toDecimal(first);
    row.B = c.r.decimalLine();
    row.C = c.r.intLine();
    row.D = c.r.intLine();
    row.E = c.r.decimalLine();
    row.group = c.r.intLine();
    c.v.Notch.push_back(row);
  });
  if (c.v.Engine_Type == 0) throw FatalError(std::string(kNotchOnDiesel));
  derivePowerModeIndex(c.v);
}

void readCurrentP(Ctx& c) {
  c.v.CurrentPHead.Iref = c.r.intLine();
  c.v.CurrentPHead.a0 = c.r.decimalLine();
  c.v.CurrentPHead.vc = c.r.decimalLine();
  c.v.CurrentP.clear();
  c.r.table([&](const std::string&) {
    requireRoom(c.v.CurrentP.size(), VehicleParams::kOtherTableCapacity);
    c.v.CurrentP.push_back({c.r.intField(1), c.r.decimalField(2), c.r.decimalField(3), c.r.intField(4)});
  });
}

void readBrakeCurr(Ctx& c) {
  c.v.BrakeCurr.clear();
  c.r.table([&](const std::string& row) {
    requireRoom(c.v.BrakeCurr.size(), VehicleParams::kBrakeCurrCapacity);
    c.v.BrakeCurr.push_back(SectionReader::toInt(row));
  });
}

void readCurrentB(Ctx& c) {
  c.v.CurrentB.clear();
  c.r.table([&](const std::string&) {
    requireRoom(c.v.CurrentB.size(), VehicleParams::kOtherTableCapacity);
    c.v.CurrentB.push_back({c.r.decimalField(1), c.r.decimalField(2), c.r.intField(3)});
  });
}

void readEngine(Ctx& c) {
  c.v.Engine.clear();
  c.r.groupTable([&](const std::string& first) {
    requireRoom(c.v.Engine.size(), VehicleParams::kOtherTableCapacity);
    EngineRow row;
    row.s0 = SectionReader::toInt(first);
    row.s1 = c.r.intLine();
    row.s2 = c.r.intLine();
    row.e0 = c.r.decimalLine();
    row.e1 = c.r.decimalLine();
    row.e2 = c.r.decimalLine();
    c.v.Engine.push_back(row);
  });
  if (c.v.Engine_Type == 1) throw FatalError(std::string(kEngineOnElectric));
}

void readPowerMode(Ctx& c) {
  c.v.PowerMode.clear();
  c.r.table([&](const std::string&) {
    requireRoom(c.v.PowerMode.size(), VehicleParams::kPowerModeCapacity);
    c.v.PowerMode.push_back({c.r.textField(1), c.r.textField(2)});
  });
}

void readEngineSound1(Ctx& c) {
  c.v.EngineSound1.clear();
  c.r.groupTable([&](const std::string& first) {
    requireRoom(c.v.EngineSound1.size(), VehicleParams::kEngineSoundCapacity);
    EngineSound1Row row;
    row.file = first;
    row.type = c.r.intLine();
    for (double* d : {&row.s0, &row.s1, &row.s2, &row.p0, &row.p1, &row.p2, &row.w0, &row.w1, &row.w2})
      *d = c.r.decimalLine();
    c.v.EngineSound1.push_back(row);
  });
}

void readEngineSound3(Ctx& c) {
  c.v.EngineSound3.clear();
  c.r.groupTable([&](const std::string& first) {
    requireRoom(c.v.EngineSound3.size(), VehicleParams::kEngineSoundCapacity);
    EngineSound3Row row;
    row.file = first;
    row.i1 = c.r.intLine();
    row.i2 = c.r.intLine();
    for (double& d : row.d) d = c.r.decimalLine();
    c.v.EngineSound3.push_back(row);
  });
}

void readDriveSound(Ctx& c) {
  c.v.DriveSound.clear();
  c.r.table([&](const std::string& row) {
    requireRoom(c.v.DriveSound.size(), VehicleParams::kDriveSoundCapacity);
    c.v.DriveSound.push_back(row);
  });
}

#define KESTREL_INT_KEY(name) \
  { "[" #name "]", {}, [](Ctx& c) { readInt(c, c.v.name); } }

constexpr Rule kVehicleRules[] = {
    KESTREL_INT_KEY(Handle),
    KESTREL_INT_KEY(BrakeType),
    KESTREL_INT_KEY(BrakeType2),
    KESTREL_INT_KEY(Brake),
    KESTREL_INT_KEY(Power),
    KESTREL_INT_KEY(NotchBack),
    KESTREL_INT_KEY(Hold),
    KESTREL_INT_KEY(Pull),
    {"[Const]", {}, [](Ctx& c) { readInts(c, c.v.Const); }},
    KESTREL_INT_KEY(Back),
    {"[BrakeRate]", {}, [](Ctx& c) { for (Fixed& f : c.v.BrakeRate) f = c.r.fixedLine(); }},
    {"[BrakeRate2]", {}, [](Ctx& c) { c.v.BrakeRate2 = c.r.fixedLine().toDouble(); }},
    KESTREL_INT_KEY(PowerDelay),
    KESTREL_INT_KEY(BrakeDelay),
    KESTREL_INT_KEY(EBrakeDelay),
    KESTREL_INT_KEY(PowerJerk),
    KESTREL_INT_KEY(SAPDelay),
    KESTREL_INT_KEY(BrakeUp),
    KESTREL_INT_KEY(BrakeDown),
    KESTREL_INT_KEY(SAPUp),
    KESTREL_INT_KEY(SAPDown),
    KESTREL_INT_KEY(EBrakeUp),
    KESTREL_INT_KEY(EBrakeDown),
    KESTREL_INT_KEY(EBrakeCurr),
    KESTREL_INT_KEY(BPReturn),
    KESTREL_INT_KEY(MAXPress),
    KESTREL_INT_KEY(EBPress),
    KESTREL_INT_KEY(SAPPress),
    KESTREL_INT_KEY(HighAirPress),
    KESTREL_INT_KEY(LowAirPress),
    KESTREL_INT_KEY(Engine_Type),
    KESTREL_INT_KEY(DoorLock),
    KESTREL_INT_KEY(Power_Type),
    KESTREL_INT_KEY(Brake_Type),
    KESTREL_INT_KEY(DoorType),
    {"[Mt]", {}, [](Ctx& c) { c.v.Mt = c.r.fixedLine(); }},
    {"[Tt]", {}, [](Ctx& c) { c.v.Tt = c.r.fixedLine(); }},
    {"[Tct]", {}, [](Ctx& c) { c.v.Tct = c.r.fixedLine(); }},
    KESTREL_INT_KEY(Cars),
    {"[Tons]", {}, [](Ctx& c) { c.v.Tons = c.r.fixedLine(); }},
    KESTREL_INT_KEY(EB),
    KESTREL_INT_KEY(MaxSpeed),
    KESTREL_INT_KEY(Lose_elec),
    KESTREL_INT_KEY(ELBR),
    KESTREL_INT_KEY(Mc),
    KESTREL_INT_KEY(ATS_Type),
    KESTREL_INT_KEY(ATS_Alert),
    KESTREL_INT_KEY(ATS_Time),
    KESTREL_INT_KEY(ATS_Cnt),
    {"[Sound_BK]", {}, [](Ctx& c) { readSoundList(c, c.v.Sound_BK, c.v.Brake); }},
    {"[Sound_BR]", {}, [](Ctx& c) { readSoundList(c, c.v.Sound_BR, c.v.Brake); }},
    {"[Sound_BA]", {}, [](Ctx& c) { readSoundList(c, c.v.Sound_BA, int64_t{c.v.Brake} + 1); }},
    {"[Sound_PA]", {}, [](Ctx& c) { readSoundList(c, c.v.Sound_PA, c.v.Power); }},
    {"[Sound_PR]", {}, [](Ctx& c) { readSoundList(c, c.v.Sound_PR, c.v.Power); }},
    {"[Sound_EB]", {}, readSoundEB},
    {"[Sound_Apply]", {}, [](Ctx& c) { readInts(c, c.v.Sound_Apply); }},
    KESTREL_INT_KEY(Sound_Ats1),
    KESTREL_INT_KEY(Sound_Ats2),
    KESTREL_INT_KEY(Sound_Ats3),
    KESTREL_INT_KEY(Sound_Atc),
    KESTREL_INT_KEY(Sound_Horn),
    KESTREL_INT_KEY(Sound_Horn2),
    KESTREL_INT_KEY(Sound_Horn3),
    {"[Sound_Horn4]", {}, readSoundHorn4},
    KESTREL_INT_KEY(Sound_DoorOpen),
    KESTREL_INT_KEY(Sound_DoorClose),
    KESTREL_INT_KEY(Sound_EBring),
    KESTREL_INT_KEY(Sound_squeak),
    KESTREL_INT_KEY(CP_Start),
    KESTREL_INT_KEY(CP_Cnt),
    KESTREL_INT_KEY(CP_End),
    KESTREL_INT_KEY(Stop),
    KESTREL_INT_KEY(Buzzer),
    KESTREL_INT_KEY(DepSign),
    KESTREL_INT_KEY(ATS_Warn),
    {"[SwitchSound]", {}, readSwitchSound},
    {"[EngineRate]", {}, readEngineRate},
    {"[Gear_Type]", {}, readGearType},
    {"[Notch]", "[Notch]", readNotch},
    {"[CurrentP]", "[CurrentP]", readCurrentP},
    {"[BrakeCurr]", "[BrakeCurr]", readBrakeCurr},
    {"[CurrentB]", "[CurrentB]", readCurrentB},
    {"[Engine]", "[Engine]", readEngine},
    {"[PowerMode]", "[PowerMode]", readPowerMode},
    {"[EngineSound1]", "[EngineSound1]", readEngineSound1},
    {"[EngineSound2]", "[EngineSound2]", [](Ctx& c) { readInts(c, c.v.EngineSound2); }},
    {"[EngineSound3]", "[EngineSound3]", readEngineSound3},
    {"[DriveSound]", "[DriveSound]", readDriveSound},
};

#undef KESTREL_INT_KEY

const std::vector<Rule>& allVehicleRules() {
  static const std::vector<Rule> rules = [] {
    std::vector<Rule> all(std::begin(kVehicleRules), std::end(kVehicleRules));
    auto panel = panelKeyRules();
    all.insert(all.end(), panel.begin(), panel.end());
    return all;
  }();
  return rules;
}

FatalError vehicleFault(std::string_view label) {
  return FatalError(std::string(kVehicleFileFault) + std::string(label));
}

}  // namespace

void loadVehicle(SectionReader& reader, VehicleParams& vehicle, PanelLayout& panel, FaultLog* collect) {
  VehicleContext context{reader, vehicle, panel};
  std::string label;
  collectInto(reader, collect, [&label] { return vehicleFault(label).message(); });
  try {
    runKeyLoop<VehicleContext>(reader, allVehicleRules(), context, kVehicleBaseLabel, label);
  } catch (const SectionFault&) {
    throw vehicleFault(label);
  }
  stopCollecting(reader);
}

void loadVehicleFile(const std::filesystem::path& path, VehicleParams& vehicle, PanelLayout& panel,
                     FaultLog* collect) {
  std::optional<SectionReader> reader;
  try {
    reader.emplace(SectionReader::fromFile(path));
  } catch (const SectionFault&) {
    if (!collect) throw vehicleFault(kVehicleBaseLabel);
    collect->add(path, 0, vehicleFault(kVehicleBaseLabel).message());
    return;
  }
  loadVehicle(*reader, vehicle, panel, collect);
}

void checkBrakeSteps(const VehicleParams& vehicle) {
  if ((vehicle.BrakeType == 1 || vehicle.BrakeType == 2) && vehicle.Brake < 3)
    throw FatalError(std::string(kTooFewBrakeSteps));
}

}  // namespace kestrel
