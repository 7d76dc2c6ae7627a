#include "core/present/cab_display.h"

#include "core/present/frame_selection.h"
#include "core/present/movie_playback.h"
#include "core/util/rounding.h"

namespace kestrel {

CabDisplay::CabDisplay(DriveContext& ctx, const Preferences& preferences, MovieReader* reader,
                       const MoviePlayback* playback, std::string vehicleFileName, const TextMetrics& metrics)
    : ctx_(ctx),
      preferences_(preferences),
      reader_(reader),
      playback_(playback),
      vehicleFileName_(std::move(vehicleFileName)),
      metrics_(metrics) {
  // The movie area's size: the reader scales each frame once, as it converts it.
  const DisplaySettings& disp = ctx.settings.Disp;
  if (reader_ && disp.DisplayWidth > 0 && disp.MovieHeight > 0)
    reader_->setFrameSize(disp.DisplayWidth, disp.MovieHeight);
}

const CabFrame* CabDisplay::step(int64_t nowMs, bool running, bool canDraw) {
  if (!running) return nullptr;
  counters_.steps += 1;
  measureRate(nowMs);
  if (holdsStopFrame(ctx_.train, ctx_.line)) {
    counters_.held += 1;
    return nullptr;
  }
  decode();
  describe(canDraw);
  if (!canDraw) return nullptr;
  counters_.frames += 1;
  return &out_;
}

void CabDisplay::measureRate(int64_t nowMs) {
  if (lastStepMs_) {
    const int64_t interval = nowMs - *lastStepMs_;
    if (interval > 0) rate_ = roundHalfEven(1000.0 / static_cast<double>(interval));
  }
  lastStepMs_ = nowMs;
}

void CabDisplay::decode() {
  TrainState& t = ctx_.train;
  // A branch switch has put frame 1 of the branch movie in the frame bitmap (the spare frame).
  const int32_t branchRow = t.MovieMode == 2 ? t.movie.activeRow : -1;
  if (branchRow != branchRowShown_) {
    branchRowShown_ = branchRow;
    if (branchRow >= 0 && playback_ && !playback_->spareFrame().empty()) {
      frame_ = playback_->spareFrame();
      revision_ += 1;
    }
  }
  if (!reader_) return;
  const std::optional<int32_t> n = frameToDecode(t);
  if (!n) return;
  // A frame still being decoded is asked for again at the next step; meanwhile the picture stays,
  // or follows the decoder where it is behind. A frame the movie does not have leaves the last
  // decoded one in the bitmap; either way that is the frame now shown.
  switch (reader_->requestFrame(*n, movieTravel(t, ctx_.line), frame_)) {
    case FrameState::kPending:
      counters_.pending += 1;
      return;
    case FrameState::kStandIn:
      counters_.standIns += 1;
      revision_ += 1;
      return;
    case FrameState::kReady:
    case FrameState::kMissing:
      break;
  }
  t.LastShownFrame = *n;
  revision_ += 1;
  counters_.decodes += 1;
}

void CabDisplay::describe(bool canDraw) {
  TrainState& t = ctx_.train;
  const DisplaySettings& disp = ctx_.settings.Disp;
  CabFrame& f = out_;
  f.still = false;
  f.movie = &frame_;
  f.movieRevision = revision_;
  f.W = disp.DisplayWidth;
  f.H = disp.MovieHeight;
  f.tunnelAlpha = tunnelDarkness(ctx_.line, t.distanceRun, preferences_);
  f.texts = layOutOverlay(ctx_, preferences_, f.W, f.H, metrics_, extents_);
  needles::updateFrameNeedles(ctx_, needles_);
  f.kilometrePost = kilometrePost(vehicleFileName_, t.distanceRun);
  const ClockFace& face = t.stations.clockFace;
  f.clock = face.drawn ? std::optional<ClockFace>(face) : std::nullopt;
  f.clockX = ctx_.panel.Clock.x;
  f.clockY = ctx_.panel.Clock.y;
  f.fadeAlpha.reset();
  f.closeAfter = false;
  f.fadeHeight = f.H + disp.PanelHeight;
  if (!canDraw) return;
  if (auto fade = advanceFade(t.FadeLevel, preferences_)) {
    f.fadeAlpha = fade->alpha;
    f.closeAfter = fade->close;
  }
}

bool CabDisplay::framePending() const {
  return reader_ && frameToDecode(ctx_.train).has_value();
}

const CabFrame& CabDisplay::redrawPaused() {
  decode();
  describe(false);  // the fade stays where it stands until the drive runs again
  return out_;
}

const CabFrame& CabDisplay::showStill(Picture still) {
  frame_ = std::move(still);
  revision_ += 1;
  CabFrame& f = out_;
  f = CabFrame{};
  f.still = true;
  f.movie = &frame_;
  f.movieRevision = revision_;
  f.W = ctx_.settings.Disp.DisplayWidth;
  f.H = ctx_.settings.Disp.MovieHeight;
  return f;
}

}  // namespace kestrel
