#include "core/controls/easy_cab_lamps.h"

#include "core/sim/doors.h"

namespace kestrel {

EasyCabLamps easyCabLamps(const ControlState& c, const TrainState& t) {
  EasyCabLamps lamps;
  lamps.neutral = c.powerHandle == 0 && c.brakeHandle == 0 ? kLampNeutral : kLampWhite;
  for (int n = 1; n <= 5; ++n)
    lamps.power[static_cast<size_t>(n - 1)] = c.powerHandle >= n ? kLampPower : kLampWhite;
  for (int n = 1; n <= 8; ++n)
    lamps.brake[static_cast<size_t>(n - 1)] = c.brakeHandle <= -n ? kLampBrake : kLampWhite;
  if (t.doorsCommandedOpen)
    lamps.status = kDoorsOpenText;
  else if (t.doorsOpen)
    lamps.status = kDoorsClosingText;
  return lamps;
}

std::optional<char32_t> easyCabReverserKey(int32_t reverser) {
  if (reverser == 1) return U'b';
  if (reverser == -1) return U'f';
  return std::nullopt;
}

}  // namespace kestrel
