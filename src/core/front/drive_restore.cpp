#include "core/front/drive_restore.h"

#include "core/controls/mascon_update.h"
#include "core/front/position_resets.h"
#include "core/sim/doors.h"
#include "core/sim/frame_advance.h"
#include "core/sim/stations.h"

namespace kestrel {

namespace {

// Type-0 stations before `station`: two announcements each on a one-man line.
int32_t stopsBefore(const LineData& line, int32_t station) {
  int32_t k = 0;
  for (int32_t i = 0; i < station && i < static_cast<int32_t>(line.Station.size()); ++i)
    if (line.Station[static_cast<size_t>(i)].type() == 0) ++k;
  return k;
}

}  // namespace

void restoreSavedDrive(CabSession& session, const SavedDrive& d) {
  DriveContext& ctx = session.context();
  TrainState& t = ctx.train;
  const int32_t k = stopsBefore(ctx.line, d.currentStation);

  // Back to the main movie while a station or branch movie plays; every movie may play again.
  if (t.MovieMode > 0) session.moviePlayback().returnToMainMovie(ctx);
  session.moviePlayback().clearDoneFlags(ctx);

  t.speed = d.speed;
  t.restores += 1;
  resetPositionWorkingValues(ctx);
  for (int ch = 1; ch < Mixer::kChannelCount; ++ch)
    if (ctx.mixer.hasWave(ch)) ctx.mixer.stop(ch);
  closeDoorsAtRest(ctx);

  t.MovieFrame = d.MovieFrame;
  t.LastShownFrame = t.MovieFrame - 1;
  t.TickCounter = d.TickCounter;
  t.stations.clockSecond = -1;  // the clock shows the restored time at the next tick
  t.preTrain.preTrainFrame = d.preTrainFrame;
  t.stations.currentStation = d.currentStation;
  t.stations.runEnded = false;

  ControlState& c = ctx.control;
  c.powerHandle = 0;
  t.powerNotch = 0;
  const int32_t brake = t.speed > 0 ? 0 : 1 - ctx.nB();
  c.brakeHandle = brake;
  t.brakeNotch = brake;
  t.sapNotch = brake;

  t.distanceRun = d.distanceRun;
  markStopsDepartedUpTo(ctx, d.currentStation);
  setNextStopAfter(ctx, d.currentStation);

  ctx.keys.announceIndex = 2 * k + 1;
  t.frameRow = -1;
  ctx.sprites.setVisible("img_unten_teimoku", false);
  t.MovieMode = 0;
  t.MovieDirection = 0;

  // The [SpeedUnit] row of the restored frame; with no row in use before, the distance stays.
  motion::lookUpSpeedUnit(ctx);
  masconupdate(ctx);
}

std::string_view saveDriveToSlot(PreferenceStore& store, const CabSession& session, const LineData& line,
                                 const std::string& lineFile, int slot) {
  const TrainState& t = session.train();
  const std::string text = formatSavedDrive(savedDriveOf(t, lineFile));
  const std::string title = savedDriveTitle(line, t.distanceRun);
  return SavedDriveStore(store).save(slot, text, title) ? kDriveSaved : kDriveNotSaved;
}

std::optional<std::string_view> restoreDriveFromSlot(PreferenceStore& store, CabSession& session,
                                                     const std::string& lineFile, int slot) {
  return restoreDriveFromText(session, lineFile, SavedDriveStore(store).text(slot));
}

std::optional<std::string_view> restoreDriveFromText(CabSession& session, const std::string& lineFile,
                                                     std::string_view text) {
  const auto parsed = restorableDrive(text, lineFile, session.context().line);
  if (const auto* refusal = std::get_if<SavedDriveRefusal>(&parsed)) return refusalMessage(*refusal);
  restoreSavedDrive(session, std::get<SavedDrive>(parsed));
  return std::nullopt;
}

}  // namespace kestrel
