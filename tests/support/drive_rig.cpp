#include "support/drive_rig.h"

#include "core/controls/mascon_update.h"

namespace kestrel::test {

VehicleParams electricTrain() {
  VehicleParams v;
  v.Handle = 0;
  v.BrakeType = 1;
  v.BrakeType2 = 1;
  v.Brake = 8;
  v.Power = 4;
  v.PowerDelay = 3;
  v.BrakeDelay = 10;
  v.SAPDelay = 5;
  v.EBrakeDelay = 8;
  v.BrakeRate = {Fixed::fromDouble(4.0), Fixed::fromDouble(3.0), Fixed::fromDouble(30.0)};
  v.BrakeRate2 = 0.01;
  v.BrakeUp = 300;
  v.BrakeDown = 200;
  v.SAPUp = 400;
  v.SAPDown = 300;
  v.EBrakeUp = 1000;
  v.EBrakeDown = 1000;
  v.EBrakeCurr = 500;
  v.BPReturn = 100;
  v.MAXPress = 440;
  v.EBPress = 500;
  v.SAPPress = 440;
  v.HighAirPress = 880;
  v.LowAirPress = 780;
  v.Lose_elec = 8;
  v.ELBR = 50;
  v.Engine_Type = 1;
  v.Power_Type = 1;
  v.Brake_Type = 1;
  v.DoorLock = 1;
  v.Mt = Fixed::fromInt(120);
  v.Tt = Fixed::fromInt(60);
  v.Tct = Fixed::fromInt(60);
  v.Tons = Fixed::fromInt(240);
  v.Cars = 6;
  v.MaxSpeed = 120;
  // Notch k: 0.75 k km/h/s up to 40 km/h, constant power to 80, falling above.
  for (int k = 1; k <= 4; ++k) v.Notch.push_back({0.75 * k, 0.75 * k, 40, 80, 0.98, 0});
  v.PowerMode = {{"P", "Series"}};
  v.Sound_BK = {1, 2, 3, 4, 5, 6, 7, 8};
  v.Sound_BR = {11, 12, 13, 14, 15, 16, 17, 18};
  v.Sound_BA = {20, 21, 22, 23, 24, 25, 26, 27, 28};
  v.Sound_PA = {31, 32, 33, 34};
  v.Sound_PR = {41, 42, 43, 44};
  v.Sound_Horn = 50;
  v.Sound_Horn2 = 51;
  v.Sound_EBring = 52;
  v.Sound_Ats1 = 53;
  v.Sound_Ats2 = 54;
  v.Sound_Ats3 = 55;
  v.CP_Start = 60;
  v.CP_Cnt = 61;
  v.CP_End = 62;
  v.DriveSound.assign(70, "x.wav");
  return v;
}

VehicleParams dieselRailcar() {
  VehicleParams v = electricTrain();
  v.Engine_Type = 0;
  v.Notch.clear();
  v.Power = 4;
  v.PowerJerk = 5;
  v.Gear_Type = 0;
  v.Mt = Fixed::fromInt(40);
  v.Tons = Fixed::fromInt(40);
  v.Cars = 1;
  // Row 0 is neutral (no effort); s2 below 0 makes a standing train select first gear.
  v.Engine = {{0, 0, -1, 0, 0, 0}, {0, 20, 40, 1200, 1000, 500}, {30, 60, 100, 800, 700, 300}};
  v.EngineRate = {{0, 0}, {20, 3.0}, {20, 1.5}};
  v.EngineSound2 = {63, 64, 65, 0};
  return v;
}

SettingsData driveSettings() {
  SettingsData s;
  s.Disp.TickRate = 30;
  s.Forward = "前";
  s.Neutral = "中";
  s.Reverse = "後";
  s.Neut = "ブレーキ解除";
  s.Neut2 = "ノッチオフ";
  s.Apply = "重なり前";
  s.Maintain = "保ち";
  s.Remove = "緩め";
  s.Hold = "重なり";
  s.Hold2 = "抑速";
  s.EB = "非常";
  s.Const = "定速";
  s.Gears = {"中立", "変速", "直結"};
  s.Doors = {"左", "右"};
  return s;
}

LineData levelLine() {
  LineData l;
  l.Friction = Fixed::fromDouble(0.3);
  l.SpeedUnit = {{0, 100000, 36, 36, 0}};
  l.SpeedUnit[0].endDistanceCm = 100000 / 30.0 * 1000;  // 36 km/h = 10 m/s, 30 frames a second
  return l;
}

DriveContext& DriveRig::rebuild() {
  // The context refers to the members themselves, so it stays valid; only the derived numbers
  // change with the records.
  constants = DriveConstants::from(settings, vehicle);
  if (!ctx)
    ctx = std::make_unique<DriveContext>(DriveContext{settings, vehicle, panel, line, constants, train,
                                                      control, keys, program, sprites, mixer, random,
                                                      callouts, &masconupdate});
  return *ctx;
}

Sprite& DriveRig::addSprite(const std::string& name, int cells, bool visible) {
  Sprite s;
  s.name = name;
  s.patternCount = cells;
  s.visible = visible;
  return sprites.add(std::move(s));
}

void DriveRig::addWave(int channel, int64_t durationUs) {
  mixer.setWave(channel, mixer.registerWave("wave" + std::to_string(channel), durationUs));
}

}  // namespace kestrel::test
