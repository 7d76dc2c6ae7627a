#pragma once
// SettingsData: the user preferences and controller code table from the preference store, the
// serial command table of mascon.dat, and railvane.dat (display and timing numbers, the movie
// folder, status texts and menu captions). Filled once per cab session, read-only afterwards
// except the preferences, which the menus toggle and the session writes back on close.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

// Preference values are "off" switches (1 = off), stored as 32-bit integers.
struct Preferences {
  int32_t CalloutsOff = 0;       // "Kanko": 1 = recorded call-outs are not played
  int32_t NoCommentary = 1;      // "Information": 1 = commentary texts are not shown
  int32_t AtsOff = 0;            // "ATS": 1 = every run starts with the ATS switched off
  int32_t VisualEffectsOff = 0;  // "Tunnel": 1 = visual effects off
  int32_t TextMode = 0;          // "Moji": nonzero = text display mode
};

// Game-controller code table under "Software\Railvane\dgcontroller" (no defaults).
struct ControllerCodes {
  std::array<int32_t, 6> P{};  // codes of power notches 0 to 5
  std::array<int32_t, 9> B{};  // codes of brake steps 0 to 8
  int32_t EB = 0;              // code of the emergency position
};

// railvane.dat [Disp].
struct DisplaySettings {
  int32_t TickRate = 0;          // line 1 field 1: multimedia events per second
  int32_t MovieFrameFactor = 0;  // line 1 field 2: factor on the route movie's frame count
  int32_t StafX = 0;             // line 2: x of the staff card picture
  int32_t DisplayWidth = 0;      // line 3: width W of the cab drawing surface
  int32_t MovieHeight = 0;       // line 4: height H
  int32_t PanelHeight = 0;       // line 5: extra height covered by the exit fade
};

struct SettingsData {
  Preferences preferences;
  ControllerCodes controller;
  std::vector<std::string> mascon;  // mascon.dat, verbatim, at most kMasconCapacity lines

  DisplaySettings Disp;
  std::string Path;  // folder prefix of the route movie
  std::string Forward, Neutral, Reverse;
  std::string Stop, Pass, Stop2;
  std::string Neut, Neut2;
  std::string Apply, Maintain, Remove, Hold, Hold2;
  std::string EB, Const, Cars, TC;
  std::array<std::string, 2> Stops;
  std::array<std::string, 2> Doors;  // doors open, doors closed
  std::array<std::string, 3> Gears;
  std::vector<std::string> InfoLabel;  // at most kInfoLabelCapacity texts
  // Menu captions; absent keys keep the window's own caption.
  std::optional<std::string> Start, Move, Display, Control, Save;

  static constexpr size_t kMasconCapacity = 26;
  static constexpr size_t kInfoLabelCapacity = 100;
};

}  // namespace kestrel
