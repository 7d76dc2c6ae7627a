#pragma once
// VehicleParams: everything a vehicle file says about the train (handles, brakes, masses,
// traction, ATS, sounds). Field names are the file's keys without brackets. Filled by the vehicle
// loader once per cab session and only read afterwards. The cab panel sections of the same file
// are in PanelLayout.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/util/fixed.h"

namespace kestrel {

struct SwitchSoundRow {
  int32_t channel = 0;    // vehicle sound played
  int32_t threshold = 0;  // km/h: played below this speed
  int32_t kind = 0;       // matched against the line's [Switch] kind
};

struct EngineRateRow {  // one per gear, from gear 0
  int32_t offset = 0;
  double ratio = 0;  // target engine speed = |v| x ratio + offset
};

struct NotchRow {  // one per power notch; row k (from 1) is notch k
  double A = 0;   // km/h/s at standstill
  double B = 0;   // km/h/s at the end of the constant-acceleration range
  int32_t C = 0;  // km/h, end of the constant-acceleration range
  int32_t D = 0;  // km/h, end of the constant-power range
  double E = 0;   // exponent of the falling characteristic above D
  int32_t group = 0;  // power-mode group
};

struct CurrentPHeader {
  int32_t Iref = 0;  // reference current, A
  double a0 = 0;     // km/h/s at Iref
  double vc = 0;     // km/h up to which a0 holds
};

struct CurrentPRow {
  int32_t notch = 0;
  double a = 0;
  double b = 0;
  int32_t extra = 0;
};

struct CurrentBRow {
  double a = 0;
  double b = 0;
  int32_t extra = 0;
};

struct EngineRow {  // one per gear, from gear 0
  int32_t s0 = 0, s1 = 0, s2 = 0;  // km/h
  double e0 = 0, e1 = 0, e2 = 0;   // kgf at full notch
};

struct PowerModeRow {
  std::string prefix;  // label prefix of the power status text
  std::string name;    // mode name (gear status text of an electric train)
};

struct EngineSound1Row {
  std::string file;
  int32_t type = 0;
  double s0 = 0, s1 = 0, s2 = 0;  // speeds
  double p0 = 0, p1 = 0, p2 = 0;  // pitch ratios
  double w0 = 0, w1 = 0, w2 = 0;  // volume factors
};

struct EngineSound3Row {
  std::string file;
  int32_t i1 = 0, i2 = 0;
  std::array<double, 6> d{};
};

struct VehicleParams {
  // Handles and brake steps.
  int32_t Handle = 0;      // 0 one-handle, 1 two-handle controller
  int32_t BrakeType = 0;   // 0 automatic air brake, 1 electro-pneumatic, 2 electric command
  int32_t BrakeType2 = 0;
  int32_t Brake = 0;       // number of brake positions nB; -nB is emergency
  int32_t Power = 0;       // number of power notches P
  int32_t NotchBack = 0;
  int32_t Hold = 0;
  int32_t Pull = 0;
  std::array<int32_t, 2> Const{};  // power position that engages constant speed; speed from which
  int32_t Back = 0;
  int32_t EB = 0;  // 1: vigilance device fitted

  // Brake system.
  std::array<Fixed, 3> BrakeRate{};  // B1, B2, B3
  double BrakeRate2 = 0;             // read as fixed-point, kept as a value with four decimals
  int32_t PowerDelay = 0, BrakeDelay = 0, EBrakeDelay = 0, PowerJerk = 0, SAPDelay = 0;
  int32_t BrakeUp = 0, BrakeDown = 0, SAPUp = 0, SAPDown = 0;
  int32_t EBrakeUp = 0, EBrakeDown = 0, EBrakeCurr = 0, BPReturn = 0;
  int32_t MAXPress = 0, EBPress = 0, SAPPress = 0, HighAirPress = 0, LowAirPress = 0;
  int32_t Lose_elec = 0, ELBR = 0;

  // Train and equipment.
  int32_t Engine_Type = 0;  // 0 diesel railcar, 1 electric train
  int32_t Power_Type = 0;   // electric: 1 notch table, 0 current tables
  int32_t Brake_Type = 0;   // electric brake: 1 rate model, 0 table model
  int32_t DoorLock = 0, DoorType = 0;
  Fixed Mt, Tt, Tct, Tons;  // tonnes
  int32_t Cars = 0;
  int32_t MaxSpeed = 0;
  int32_t Mc = 0;
  int32_t ATS_Type = 0, ATS_Alert = 0, ATS_Time = 0, ATS_Cnt = 0;
  int32_t Gear_Type = 0;  // 0 AT, 1 MT

  // Sound numbers (channels of the [DriveSound] list).
  static constexpr size_t kSoundListCapacity = 11;
  std::vector<int32_t> Sound_BK, Sound_BR, Sound_BA, Sound_PA, Sound_PR;
  std::array<int32_t, 2> Sound_EB{};
  std::array<int32_t, 2> Sound_Apply{};
  int32_t Sound_Ats1 = 0, Sound_Ats2 = 0, Sound_Ats3 = 0, Sound_Atc = 0;
  int32_t Sound_Horn = 0, Sound_Horn2 = 0, Sound_Horn3 = 0;
  std::array<int32_t, 5> Sound_Horn4{};
  int32_t Sound_Horn4Value = 0;  // the sixth line, also kept as fixed-point
  Fixed Sound_Horn4Fixed;
  int32_t Sound_DoorOpen = 0, Sound_DoorClose = 0, Sound_EBring = 0, Sound_squeak = 0;
  int32_t CP_Start = 0, CP_Cnt = 0, CP_End = 0;
  int32_t Stop = 0, Buzzer = 0, DepSign = 0, ATS_Warn = 0;

  // Tables.
  std::vector<SwitchSoundRow> SwitchSound;
  std::vector<EngineRateRow> EngineRate;
  std::vector<NotchRow> Notch;
  CurrentPHeader CurrentPHead;
  std::vector<CurrentPRow> CurrentP;
  std::vector<int32_t> BrakeCurr;
  std::vector<CurrentBRow> CurrentB;
  std::vector<EngineRow> Engine;
  std::vector<PowerModeRow> PowerMode;
  std::vector<EngineSound1Row> EngineSound1;
  std::array<int32_t, 4> EngineSound2{};
  std::vector<EngineSound3Row> EngineSound3;
  std::vector<std::string> DriveSound;  // sound number k -> file (vehicle folder prefix)

  // Derived: entry m = index (from 0) of the first [Notch] row of power-mode group m.
  std::array<int32_t, 10> powerModeIndex{};

  // Capacities; a longer table is a faulty file.
  static constexpr size_t kEngineRateCapacity = 10;
  static constexpr size_t kBrakeCurrCapacity = 10;
  static constexpr size_t kPowerModeCapacity = 10;
  static constexpr size_t kEngineSoundCapacity = 100;
  static constexpr size_t kDriveSoundCapacity = 501;
  static constexpr size_t kOtherTableCapacity = 100;  // [SwitchSound], [Notch], [CurrentP], [CurrentB], [Engine]
};

}  // namespace kestrel
