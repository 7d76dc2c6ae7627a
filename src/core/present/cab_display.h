#pragma once
// CabDisplay: the render step of the cab view (AppIdle). It turns the drive's state into a plain
// description of one frame — the movie picture, the texts over it with their places, the tunnel
// darkening, the kilometre post, the clock face and the exit fade — which the platform's renderer
// draws, together with the sprite scene, into the 800 x 760 view. On the way it asks the reader
// for the movie frame the counters name (only when the number changed; a frame still being
// decoded is asked for again at the next step while the last one stays), moves the needles that
// follow the train every frame, and advances the fade.
//
// Thread contract: the thread that owns the drive, between its events; it writes the sprite
// angles, LastShownFrame and FadeLevel as the render step does.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/movie_reader.h"
#include "core/ports/picture.h"
#include "core/present/kilometre_post.h"
#include "core/present/needle_rules.h"
#include "core/present/overlay_layout.h"
#include "core/present/visual_effects.h"
#include "core/state/drive_context.h"

namespace kestrel {

class MoviePlayback;

// The drawing surface of the cab view; W and H of [Disp] are not checked against it.
inline constexpr int32_t kViewWidth = 800;
inline constexpr int32_t kViewHeight = 760;

struct CabFrame {
  // FormActivate's still: black, the sprites, then the still over the movie area (covering the
  // sprites inside it); nothing else.
  bool still = false;
  const Picture* movie = nullptr;  // the frame bitmap, scaled to W x H; may be empty
  uint64_t movieRevision = 0;      // changes whenever the frame bitmap does
  int32_t W = 0, H = 0;
  int32_t tunnelAlpha = 0;         // black over the movie, under the texts
  std::vector<OverlayText> texts;  // drawn on the movie, in order
  std::optional<KilometrePost> kilometrePost;
  std::optional<ClockFace> clock;  // at clockX, clockY; the background is transparent
  int32_t clockX = 0, clockY = 0;
  std::optional<int32_t> fadeAlpha;  // black over (0, 0, W, H + PanelHeight), above everything
  int32_t fadeHeight = 0;
  bool closeAfter = false;  // the fade is complete: close the cab window after showing this frame
};

class CabDisplay {
 public:
  struct Counters {
    int64_t steps = 0;    // render steps while the drive runs
    int64_t held = 0;     // steps skipped by the stop-frame hold
    int64_t decodes = 0;   // frames the movie reader handed over (or answered it does not have)
    int64_t pending = 0;   // steps whose frame the reader was still decoding
    int64_t standIns = 0;  // ... and handed over a nearer frame meanwhile
    int64_t frames = 0;   // frames described for drawing
  };

  // `preferences` are the live ones (menus toggle them, the tick writes VisualEffectsOff); the
  // reader is the session's (nullptr: no pictures), asked for frames of the movie area's size;
  // `playback` hands over a branch's spare frame.
  CabDisplay(DriveContext& ctx, const Preferences& preferences, MovieReader* reader,
             const MoviePlayback* playback, std::string vehicleFileName, const TextMetrics& metrics);

  // One render step at `nowMs` (a millisecond clock). Nothing to draw — the previous picture
  // stays — while the drive does not run (`running` false: paused or not started) or the
  // stop-frame hold applies. `canDraw` false (no surface to draw on) updates the texts and
  // needles but draws nothing and leaves the fade where it is.
  const CabFrame* step(int64_t nowMs, bool running, bool canDraw = true);

  // A restore or a station jump while the drive is paused: the frame the counters now name, with
  // the texts and needles of the new place, described once (no rate, no fade step, no hold).
  const CabFrame& redrawPaused();

  // FormActivate with the drive not running: the still picture of the [Staf] second line becomes
  // the frame bitmap and is shown.
  const CabFrame& showStill(Picture still);

  // The measured frame rate: round(1000 / ms since the previous step); an interval of 0 ms keeps
  // the previous rate.
  int32_t measuredRate() const { return rate_; }
  const OverlayExtents& extents() const { return extents_; }
  const Counters& counters() const { return counters_; }
  // The frame the counters name is still owed: the reader was decoding it when last asked.
  bool framePending() const;
  const Picture& frameBitmap() const { return frame_; }

 private:
  void measureRate(int64_t nowMs);
  void decode();
  void describe(bool canDraw);

  DriveContext& ctx_;
  const Preferences& preferences_;
  MovieReader* reader_;
  const MoviePlayback* playback_;
  std::string vehicleFileName_;
  const TextMetrics& metrics_;

  Picture frame_;
  uint64_t revision_ = 0;
  int32_t branchRowShown_ = -1;
  std::optional<int64_t> lastStepMs_;
  int32_t rate_ = 0;
  OverlayExtents extents_{};
  needles::FrameNeedleState needles_;
  CabFrame out_;
  Counters counters_;
};

}  // namespace kestrel
