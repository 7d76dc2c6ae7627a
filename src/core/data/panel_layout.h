#pragma once
// PanelLayout: the cab panel sections of the vehicle file (panel pictures, lamps, needles, linear
// gauges, pattern images, clock, extra pictures). Coordinates are pixels of the cab drawing
// surface; file names are relative to the vehicle folder. An empty file name means the element is
// absent. Read in the vehicle file's loop; the pictures themselves are loaded after the line file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

struct PanelPicture {  // file, x, y
  std::string file;
  int32_t x = 0, y = 0;
  bool present() const { return !file.empty(); }
};

struct NeedleSection {  // file, x, y, two unused integers, zero angle a0, scale k [, extra]
  std::string file;
  int32_t x = 0, y = 0;
  int32_t unused1 = 0, unused2 = 0;
  double a0 = 0;  // degrees
  double k = 0;   // degrees per unit
  double k2 = 0;  // [Needle_Speed] only: low-speed scale
  int32_t mode = 0;  // [Needle_I] only: 0 signed, 1 absolute, 2 fixed at a0
  bool present() const { return !file.empty(); }
};

struct LinearGauge {  // file, x, base y, scale k
  std::string file;
  int32_t x = 0, baseY = 0;
  double k = 0;
  bool present() const { return !file.empty(); }
};

struct PatternImage {  // x, y, pattern width, pattern height, file
  int32_t x = 0, y = 0;
  int32_t patternWidth = 0, patternHeight = 0;
  std::string file;
  bool present() const { return !file.empty(); }
};

struct ClockSection {
  int32_t x = 0, y = 0, r = 0;
  bool drawn() const { return x > 0 && y > 0; }
};

struct PanelLayout {
  ClockSection Clock;
  PanelPicture Panel, Panel2;

  PanelPicture Lamp_Door, Lamp_Power, Lamp_EB, Lamp_Gen, Lamp_Air, Lamp_Fin, Lamp_Ele;
  PanelPicture Lamp_Ats1, Lamp_Ats2, Lamp_ATSP1, Lamp_ATSP2, Lamp_Fwd, Lamp_Back, Lamp_Stop, Lamp_Const;
  // Accepted and stored, not drawn.
  PanelPicture Lamp_G, Lamp_YG, Lamp_Y, Lamp_YY, Lamp_R;

  NeedleSection Needle_Speed, Needle_BC, Needle_SAP, Needle_ER, Needle_BP, Needle_MR, Needle_V, Needle_I;
  LinearGauge Needle_BC_L, Needle_MR_L;

  PatternImage Lamp_signal, NotchImageP, NotchImageB, NotchImageP2, NotchImageB2;
  PatternImage GearImageList, GearImageList2, Digi_Speed;
  // [Lamp_signal] pattern list: one entry per line until '#'; an empty line keeps its place.
  std::vector<std::optional<int32_t>> Lamp_signalPatterns;

  std::vector<PanelPicture> Others;  // drawn with order 20 + n

  static constexpr size_t kLampSignalPatternCapacity = 12;
  static constexpr size_t kOthersCapacity = 11;
};

}  // namespace kestrel
