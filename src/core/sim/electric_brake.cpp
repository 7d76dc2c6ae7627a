#include "core/sim/electric_brake.h"

#include <cmath>

#include "core/util/rounding.h"

namespace kestrel::brakes {

void updateElectricBrake(DriveContext& ctx) {
  if (ctx.vehicle.BrakeType2 < 1) return;
  if (ctx.vehicle.Brake_Type == 1)
    electricBrakeRateModel(ctx);
  else if (ctx.vehicle.Brake_Type == 0)
    electricBrakeTableModel(ctx);
}

void electricBrakeRateModel(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  const int32_t nB = ctx.nB();
  const int32_t n = t.ebNotch;
  double I = t.elecBrakeCurrent;
  const double J = nB > 1 ? static_cast<double>(v.EBrakeCurr) / (nB - 1) * -n : 0;
  if (n > -nB && J > I + 50 && t.speed >= v.Lose_elec) I += v.EBrakeUp / 10.0;
  if ((n > -nB && J < I) || t.speed < v.Lose_elec) {
    I -= v.EBrakeDown / 10.0;
    if (I < 0) I = 0;
  }
  if (I > 0 && (n == 0 || n == -nB)) {
    I -= 3.0 * v.EBrakeDown / ctx.R();
    if (I < 0) I = 0;
  }
  t.elecBrakeCurrent = I;
  if (I > 0) t.ammeter = -roundHalfAway(I);
}

void electricBrakeTableModel(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  const int32_t n = t.ebNotch;
  double I = t.elecBrakeCurrent;
  if (ctx.doorInterlockAllows() && n < 0) {
    if (t.speed >= v.Lose_elec || t.elecBrakeStep != 0) {
      const auto& rows = v.CurrentB;
      // [BrakeCurr] row k (from 1) is the limit of brake position k; beyond the table, 0.
      const size_t position = static_cast<size_t>(-n);
      const int32_t limit = position >= 1 && position <= v.BrakeCurr.size() ? v.BrakeCurr[position - 1] : 0;
      for (size_t l = 0; l < rows.size(); ++l) {
        if (t.elecBrakeStep >= 0 && t.elecBrakeStep < static_cast<int32_t>(rows.size())) {
          const CurrentBRow& row = rows[static_cast<size_t>(t.elecBrakeStep)];
          if (row.a != 0) I = (std::fabs(t.speed) - row.b) / row.a;
        }
        if (limit == 0) {
          t.elecBrakeStep = 0;
          I = 0;
        } else if (t.elecBrakeStep < static_cast<int32_t>(l) && limit > I) {
          ++t.elecBrakeStep;
        }
      }
    } else {
      I = 0;
    }
  }
  if (n == 0) t.elecBrakeStep = 0;
  if (n == 0 || I < 100) I = 0;  // under 100 A the table model carries nothing
  if (t.elecBrakeStep >= 1) t.resistStep = 0;
  t.elecBrakeCurrent = I;
  if (I > 0) t.ammeter = -roundHalfAway(I);
}

}  // namespace kestrel::brakes
