#include "core/sim/compressor.h"

namespace kestrel::brakes {

void runCompressor(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  Mixer& mixer = ctx.mixer;
  if (!t.compressorOn && t.mrPressure < Fixed::fromInt(v.LowAirPress)) {
    mixer.playOnce(v.CP_Start);
    mixer.playLooped(v.CP_Cnt);
    t.compressorOn = true;
  }
  if (!t.compressorOn) return;
  if (t.mrPressure >= Fixed::fromInt(v.HighAirPress)) {
    mixer.playOnce(v.CP_End);
    mixer.stop(v.CP_Cnt);
    t.compressorOn = false;
    return;
  }
  // An electric compressor charges 0.3 kPa per tick; an engine-driven one with the engine speed.
  const double charge = v.Engine_Type == 1 ? 0.3 : t.engineSpeed / 100 * 0.4;
  t.mrPressure = Fixed::fromDouble(t.mrPressure.toDouble() + charge);
}

}  // namespace kestrel::brakes
