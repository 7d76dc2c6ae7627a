#include "core/front/drive_setup.h"

#include <algorithm>

#include "core/controls/mascon_update.h"
#include "core/data/vehicle_loader.h"
#include "core/present/lineside_pictures.h"
#include "core/present/trackside_pictures.h"
#include "core/sim/ats.h"
#include "core/sim/clock.h"
#include "core/sim/motion.h"
#include "core/sim/pre_train.h"
#include "core/sim/stations.h"
#include "core/sim/vigilance.h"

namespace kestrel {

namespace {

int32_t soundLength(const LineData& line, int32_t sound) {
  if (sound < 0 || sound >= static_cast<int32_t>(line.soundLengths.size())) return 0;
  return line.soundLengths[static_cast<size_t>(sound)];
}

}  // namespace

int32_t startClock(const LineData& line, int32_t station) {
  if (station < 0 || station >= static_cast<int32_t>(line.Station.size())) return 0;
  const StationRow& row = line.Station[static_cast<size_t>(station)];
  int32_t seconds = soundLength(line, row.departureSound());
  if (station > 0) seconds += soundLength(line, row.arrivalSound());
  return row.departureTime() - 30 * seconds;
}

void setUpDrive(DriveContext& ctx, const StartOptions& options) {
  checkBrakeSteps(ctx.vehicle);
  TrainState& t = ctx.train;
  ControlState& c = ctx.control;
  const VehicleParams& v = ctx.vehicle;
  const LineData& line = ctx.line;
  const int32_t nB = ctx.nB();

  // Position, clock and distance of the start station.
  const int32_t station = options.startStation;
  const bool atStation = station >= 0 && station < static_cast<int32_t>(line.Station.size());
  t.MovieFrame =
      station > 0 && atStation ? line.Station[static_cast<size_t>(station)].stopFrame() : line.StartPos;
  t.frameRow = -1;
  t.TickCounter = startClock(line, station);
  if (atStation) {
    t.distanceRun = line.Station[static_cast<size_t>(station)].stopDistanceCm;
    t.stopTarget = t.distanceRun;
  }
  t.distanceToStop = t.stopTarget - t.distanceRun;
  t.gradientSamples.assign(static_cast<size_t>(std::max(v.Cars, 1)), 0);  // [Cars] 0 still averages one
  t.speed = 0;

  // Handles: forward, power off, and — as the brake Part owns it — the brake at emergency.
  c.reverser = 1;
  c.powerHandle = 0;
  c.brakeHandle = -nB;
  t.brakeNotch = -nB;
  t.sapNotch = -nB;

  // Pressures: the trailer cylinders at the emergency pressure, the main reservoir full.
  t.bcTrailer = Fixed::fromInt(v.EBPress);
  t.mrPressure = Fixed::fromInt(v.HighAirPress);
  t.feedPressure = std::min(t.mrPressure.toDouble(), 490.0);

  // Traction: engine running, line voltage from 0 towards 1500 V.
  t.engineState = 1;
  t.lineVoltage = Fixed();
  t.lineVoltageTarget = Fixed::fromInt(1500);
  t.powerNotch = 0;
  t.gear = 0;

  // Stations, doors and clock; the preceding train.
  setUpStations(ctx, atStation ? station : -1);
  setUpPreTrain(ctx, station);
  // ATS state "none" with its lamps, the vigilance device quiet, no trackside picture drawn yet.
  resetAts(ctx);
  setUpVigilance(ctx);
  trackside::resetTrackside(ctx);
  lineside::setUpLineside(ctx);
  timecalc(ctx, t.TickCounter);

  masconupdate(ctx);
  motion::updateTexts(ctx);
}

}  // namespace kestrel
