#include "core/present/movie_playback.h"

#include <algorithm>
#include <limits>

#include "core/data/line_distances.h"
#include "core/ports/mixer_actions.h"
#include "core/present/sound_rules.h"
#include "core/util/path_lookup.h"
#include "core/util/rounding.h"

namespace kestrel {

std::string mainMovieName(const SettingsData& settings, const LineData& line) {
  return settings.Path + line.DataName + ".avi";
}

std::filesystem::path mainMoviePath(const std::filesystem::path& programDirectory,
                                    const SettingsData& settings, const LineData& line) {
  return resolveDataPath(programDirectory, mainMovieName(settings, line));
}

std::filesystem::path switchedMoviePath(const std::filesystem::path& programDirectory,
                                        const SettingsData& settings, const std::string& movie) {
  return resolveDataPath(programDirectory, settings.Path + movie + ".avi");
}

void MoviePlayback::setUp(DriveContext& ctx) {
  TrainState& t = ctx.train;
  MovieReader* reader = source_.reader;
  const int64_t frames = reader && reader->isOpen() ? reader->frameCount() : 0;
  const int64_t last = frames * ctx.settings.Disp.MovieFrameFactor;
  t.movie = MovieSwitchState{};
  t.movie.movieLastFrame = static_cast<int32_t>(
      std::clamp<int64_t>(last, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  t.movie.rowDone.assign(ctx.line.MovieSwitch.size(), false);
  t.MovieMode = 0;
  t.MovieDirection = 0;
  t.SubFrame = 0;
  t.LastShownFrame = -1;
}

void MoviePlayback::updateSubFrame(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (t.MovieMode == 1) {
    // A [FrameRate] of 0, or above the event rate, would divide by zero: such a movie plays one
    // frame per event.
    const int32_t rate = ctx.settings.Disp.TickRate > 0 ? ctx.settings.Disp.TickRate : 30;
    const int32_t every = ctx.line.FrameRate > 0 ? std::max(rate / ctx.line.FrameRate, 1) : 1;
    if (t.TickCounter % every == 0) t.SubFrame += 1;
  } else if (t.MovieMode == 2) {
    t.SubFrame = t.MovieFrame - t.movie.branchBaseFrame;
  }
}

void MoviePlayback::open(const std::filesystem::path& path) {
  if (!source_.reader) return;
  source_.reader->close();
  // A switched movie that cannot be opened is not reported: the last picture stays on the screen
  // and the switch completes by frame count.
  source_.reader->open(path);
}

void MoviePlayback::openMain(DriveContext& ctx) {
  open(mainMoviePath(source_.programDirectory, ctx.settings, ctx.line));
  if (source_.reader && !jumpTargets_.empty()) source_.reader->keepReady(jumpTargets_);
}

void MoviePlayback::keepJumpTargetsReady(const DriveContext& ctx, std::vector<int> frames) {
  jumpTargets_ = std::move(frames);
  if (source_.reader && ctx.train.MovieMode == 0) source_.reader->keepReady(jumpTargets_);
}

// Rules 2 and 3 for a station-movie row. Returns true when the rest of the tick is skipped.
bool MoviePlayback::stationRow(DriveContext& ctx, size_t i) {
  TrainState& t = ctx.train;
  MovieSwitchState& m = t.movie;
  const MovieSwitchRow& row = ctx.line.MovieSwitch[i];
  const int32_t s = row.resumeOrStation;
  if (s < 0 || s >= static_cast<int32_t>(ctx.line.Station.size())) return false;
  const StationRow& station = ctx.line.Station[static_cast<size_t>(s)];
  const bool inRange = station.platformStartCm <= t.distanceRun && t.distanceRun <= station.platformEndCm;
  const bool active = m.activeRow == static_cast<int32_t>(i);

  // 2. The station movie's own sound, from its sound frame on.
  if (t.MovieMode == 1 && active && inRange && row.soundFrame < t.SubFrame &&
      t.SubFrame < row.soundFrame + 10)
    playIfSilent(ctx.mixer, ctx.environmentChannel(row.sound));

  const bool stands = roundHalfAway(t.speed) == 0 && inRange && row.afterTime < t.TickCounter;
  // 3. Standing at the station after the row's time: the movie starts, and ends by frame count.
  if (stands && t.MovieMode == 0 && !m.rowDone[i]) {
    if (!timer_.running()) return true;
    timer_.stop();
    t.MovieMode = 1;
    t.MovieFrame = station.stopFrame();
    t.distanceRun = station.stopDistanceCm;
    t.SubFrame = 0;
    open(switchedMoviePath(source_.programDirectory, ctx.settings, row.movie));
    m.switchLimit = row.frameCount;
    m.activeRow = static_cast<int32_t>(i);
    timer_.start();
    t.LastShownFrame = -1;
    return false;
  }
  // A station movie that has played to its end returns to the main movie; also when the train has
  // moved off meanwhile, which would otherwise leave the last picture of the station movie on
  // the screen for the rest of the drive.
  if (t.MovieMode == 1 && active && t.SubFrame >= m.switchLimit) {
    const bool wasRunning = timer_.running();
    if (wasRunning) timer_.stop();
    openMain(ctx);
    t.MovieMode = 0;
    t.SubFrame = 0;
    if (wasRunning) timer_.start();
    t.LastShownFrame = -1;
    m.rowDone[i] = true;
    m.activeRow = -1;
  }
  return false;
}

// Rule 4 for a branch row.
bool MoviePlayback::branchRow(DriveContext& ctx, size_t i) {
  TrainState& t = ctx.train;
  MovieSwitchState& m = t.movie;
  const MovieSwitchRow& row = ctx.line.MovieSwitch[i];
  const bool inWindow = row.windowStart <= t.MovieFrame && t.MovieFrame <= row.windowEnd;
  const bool active = m.activeRow == static_cast<int32_t>(i);
  if (!inWindow) {
    // Backed out of the window past the branch movie's first frame: the main movie again where the
    // train is, or the picture would stay on that frame for the rest of the drive. The branch
    // plays when the train comes into the window again.
    if (t.MovieMode == 2 && active && t.SubFrame < 0) {
      returnToMainMovie(ctx);
      return false;
    }
    // The branch movie has played its frames, with at most 60 more: back to the main movie at the
    // resume frame ahead.
    if (t.MovieMode == 2 && active && t.SubFrame >= m.switchLimit && t.SubFrame <= m.switchLimit + 60 &&
        t.MovieFrame < row.resumeOrStation) {
      t.MovieMode = 9;
      timer_.stop();
      openMain(ctx);
      t.MovieFrame = row.resumeOrStation;
      t.SubFrame = 0;
      timer_.start();
      t.LastShownFrame = -1;
      m.rowDone[i] = true;
      m.activeRow = -1;
      t.MovieMode = 0;
    }
    return false;
  }
  if (t.MovieMode != 0 || m.rowDone[i]) return false;
  // A switch cannot begin while the 33 ms event is stopped; the main movie stays and the switch
  // is tried again on the next tick.
  if (!timer_.running()) return true;
  t.MovieMode = 9;
  t.SubFrame = t.MovieFrame - row.windowStart;
  m.branchBaseFrame = row.windowStart;
  timer_.stop();
  open(switchedMoviePath(source_.programDirectory, ctx.settings, row.movie));
  m.switchLimit = row.frameCount;
  m.activeRow = static_cast<int32_t>(i);
  if (source_.reader) source_.reader->decodeFrame(1, spare_);
  timer_.start();
  t.LastShownFrame = -1;
  t.MovieMode = 2;
  return false;
}

bool MoviePlayback::switchMovies(DriveContext& ctx) {
  auto& done = ctx.train.movie.rowDone;
  if (done.size() != ctx.line.MovieSwitch.size()) done.resize(ctx.line.MovieSwitch.size(), false);
  for (size_t i = 0; i < ctx.line.MovieSwitch.size(); ++i) {
    const int32_t type = ctx.line.MovieSwitch[i].type;
    if (type == 2) {
      if (stationRow(ctx, i)) return true;
    } else if (type == 0 || type == 1) {
      if (branchRow(ctx, i)) return true;
    }
  }
  return false;
}

void MoviePlayback::returnToMainMovie(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (t.MovieMode == 0) return;
  const bool wasRunning = timer_.running();
  if (wasRunning) timer_.stop();
  openMain(ctx);
  t.MovieMode = 0;
  t.SubFrame = 0;
  t.movie.activeRow = -1;
  if (wasRunning) timer_.start();
  t.LastShownFrame = -1;
}

void MoviePlayback::clearDoneFlags(DriveContext& ctx) {
  ctx.train.movie.rowDone.assign(ctx.line.MovieSwitch.size(), false);
}

void MoviePlayback::close() {
  if (source_.reader) source_.reader->close();
}

bool holdAtLineEnds(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (t.MovieMode != 0) return false;
  bool stop = false;
  if (t.speed < 0 && t.MovieFrame < 1) {
    t.MovieFrame = 1;
    stop = true;
  } else if (!ctx.line.MovieStop.empty()) {
    // Without a [MovieStop] list the line has no end to hold the train at.
    const int32_t end = ctx.line.MovieStop[0];
    if (t.MovieDirection == 0 && t.speed > 0 && end < t.MovieFrame && t.MovieFrame < end + 500) {
      t.MovieFrame = end;
      stop = true;
    } else if (t.MovieDirection == 1 && t.speed < 0 && end - 500 < t.MovieFrame && t.MovieFrame < end) {
      t.MovieFrame = end + 1;
      stop = true;
    }
  }
  // Past the movie's last frame (after turning back, or more than 500 frames beyond the end of
  // the line) there is no more picture and no more line: the train stops at the last frame.
  const int32_t last = t.movie.movieLastFrame;
  if (!stop && t.speed > 0 && last > 0 && t.MovieFrame > last) {
    t.MovieFrame = last;
    stop = true;
  }
  if (!stop) return false;
  // The distance goes where the frame was put, or it would run on with every push at the end.
  if (const auto d = frameDistanceCm(ctx.line.SpeedUnit, t.MovieFrame)) {
    t.distanceRun = *d;
    t.distanceToStop = t.stopTarget - t.distanceRun;
  }
  t.speed = 0;
  ctx.control.powerHandle = 0;
  t.powerNotch = 0;
  sound::stopAllSounds(ctx.mixer);
  return true;
}

}  // namespace kestrel
