#pragma once
// The texts of the value display's labels (TForm3), one field per label of the form, and the
// sound grid's cells. The tick fills them while the window is visible (value_display.h); the
// window copies them into its widgets.
//
// Pressures and forces show their whole part: the fixed-point value divided by 10 000 as an
// integer (truncated towards zero), so 439.9999 kPa shows "439"; the brake pipe, a float, is cut
// the same way. Distances in metres are rounded to whole metres, half away from zero.
#include <array>
#include <cstdint>
#include <string>

#include "core/ports/mixer.h"
#include "core/state/drive_context.h"

namespace kestrel {

// Sound grid StringGrid1: cell (column c, row r) is channel c + 10 r.
inline constexpr int kSoundGridSide = 10;
inline constexpr int kSoundGridCells = kSoundGridSide * kSoundGridSide;
// The pressure and current bars run from 0 to this.
inline constexpr int32_t kValueBarMaximum = 500;

// What `dc` draws for one channel.
struct SoundCell {
  enum class Kind : uint8_t {
    NoWave,   // the channel holds no wave data: nothing is drawn
    Playing,  // cyan, with the channel's volume (1/100 dB) at the top-left corner
    Idle,     // the window colour and an empty text
  };
  Kind kind = Kind::NoWave;
  int32_t volume = 0;

  friend bool operator==(const SoundCell&, const SoundCell&) = default;
};

SoundCell dc(const Mixer& mixer, int channel);

struct ValueDisplayTexts {
  std::string Label1;   // 速度: "36.0 km/h"
  std::string Label6;   // 加速度: "1.4 km/h/s"
  std::string Label27;  // 勾配: "8.3333 Permil" (up to four decimals, trailing zeros dropped)
  std::string Label7;   // 車両: netForce, "100000 N"
  std::string Label25;  // 抵抗: resistForce, "-3556 N"
  std::string Label50;  // 電流: motorCurrent, "250 A"
  std::string Label40;  // エンジン回転数: engine speed, whole
  std::string Label52;  // ギア: mode text, " Gp " engaged gear, "Gn " target gear
  std::string Label65;  // 摩擦: slip text, adhesion coefficient "0.25", adhesion limit "12345N"
  std::string Label71;  // BP " kPa"
  std::string Label3;   // SAP " kPa"
  std::string Label4;   // ER " kPa"
  std::string Label5;   // MR " kPa"
  std::string Label2;   // BC (motor car) "440k"
  std::string Label11;  // BC (trailer) "440k"
  std::string Label69;  // electric brake current "120A"
  int32_t Bar_Press0 = 0, Bar_Press1 = 0, Bar_Press6 = 0;  // the same three values, 0 .. 500
  std::string Label30;                                     // MovieFrame
  std::string Label31;                                     // UnitsPerFrame " km/h"
  std::string Label46;                                     // SubFrame
  std::string Label48;                                     // LastShownFrame
  std::string Label54;                                     // MovieMode
  std::string Label63;                                     // render loop frames per second
  std::string Label37;  // 次駅: next stop number " m " metres to its stop
  std::string Label33;  // 残距離: distanceToStop " cm"
  std::string Label35;  // 走行距離: distanceRun " m"
  std::string Label23;  // 先行列車: preceding train's frame
  std::string Label42;  // its [Pre_Train] stretch "(" first "～" last ")", empty outside every stretch
  std::string Label8;   // ATS-P: metres to the pattern's target (empty without a pattern)
  std::string Label9;   //        target speed (999: none)
  std::string Label20;  //        brake pattern "/" warning pattern
  std::string Label60;  // next speed limit: metres, empty when none lies ahead
  std::string Label61;  //                   limit
  std::string Label19;  // next [SpeedCheck1] point: metres, empty when none lies ahead
  std::string Label41;  //                           speed
  std::string Label21;  // "Signal now:" signal row " now2:" code " lim_now:" checkSpeed
  std::string Label44;  // "P " handle notch delay " B " handle brake SAP emergency delay
  std::string Label56;  // the [Sign] row the sign post shows, -1 none
  std::string Label57;  // "Sound D:" N1 " L:" N2 " M:" N3 " K:1"
  // signal1 .. signal5: aspect and code of the five signals ahead of the section the frame is in.
  std::array<std::string, 5> signal;
  std::array<SoundCell, kSoundGridCells> grid{};
};

// Every label from the drive's state; `framesPerSecond` is the render loop's measured rate.
ValueDisplayTexts valueDisplayTexts(const DriveContext& ctx, int32_t framesPerSecond);

}  // namespace kestrel
