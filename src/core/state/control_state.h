#pragma once
// ControlState: the one record in which every input device leaves the driver's positions, and
// the four handle texts that masconupdate derives from them. The operations of
// controls/control_operations.h change it; nothing else writes the positions except the setup of
// a drive, the station jump and the restore of a saved state.
#include <cstdint>
#include <string>

namespace kestrel {

struct ControlState {
  int32_t reverser = 0;     // 1 forward, 0 neutral, -1 reverse
  int32_t powerHandle = 0;  // 0 off; n = row n (from 1) of [Notch], a row of the current mode
  int32_t powerMode = 0;
  int32_t brakeHandle = 0;  // 0 release; -1 .. -(nB - 1) service; -nB emergency
  bool holdEngaged = false;
  bool holdExitGuard = false;
  bool constSpeed = false;
  bool driverFlag = false;  // "F": the driver has answered an automatic brake (sim/notices.h)

  std::string reverserText;  // Label0
  std::string powerText;     // Label1
  std::string brakeText;     // Label2
  std::string modeText;      // Label3
};

}  // namespace kestrel
