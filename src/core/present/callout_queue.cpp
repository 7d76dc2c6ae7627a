#include "core/present/callout_queue.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "core/present/sound_layout.h"
#include "core/present/sound_rules.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

constexpr int32_t kEnterKey = 999;
constexpr int32_t kFirstTime = 1000;

// Station call-out type -> the kind of [StationKanko] row it plays.
constexpr std::array<int32_t, 6> kStationKind{4, 0, 1, 2, 3, 5};

}  // namespace

CalloutQueue::CalloutQueue() {
  slots_.fill(kNoWave);
}

size_t CalloutQueue::size() const {
  return static_cast<size_t>(std::find(slots_.begin(), slots_.end(), kNoWave) - slots_.begin());
}

void CalloutQueue::clear() {
  slots_.fill(kNoWave);
  playing_ = false;
}

void CalloutQueue::add(WaveId wave) {
  busy_ = true;
  // An empty reference marks the end of the queue: a clip that was not loaded adds nothing.
  if (wave != kNoWave) {
    auto free = std::find(slots_.begin(), slots_.end(), kNoWave);
    if (free != slots_.end()) *free = wave;  // a full queue drops the clip
  }
  busy_ = false;
}

void CalloutQueue::kanko_queue_add(int clip) {
  add(CalloutClips::at(clips_.table, clip));
}

void CalloutQueue::kanko_queue_play() {
  if (busy_ || !ctx_) return;
  Mixer& mixer = ctx_->mixer;
  const int32_t channel = SoundLayout::of(ctx_->vehicle, ctx_->line).calloutChannel();
  if (mixer.isPlaying(channel)) return;
  if (playing_) {
    playing_ = false;
    std::move(slots_.begin() + 1, slots_.end(), slots_.begin());
    slots_.back() = kNoWave;
  }
  if (slots_.front() == kNoWave) return;
  mixer.setWave(channel, slots_.front());
  // The preference is read as it stands now: the menu toggles it during the drive.
  if (ctx_->settings.preferences.CalloutsOff != 1) {
    try {
      mixer.playOnce(channel);
    } catch (const std::exception&) {
      if (sink_) sink_(kCalloutPlayError);
      return;  // the head stays and is tried again on the next tick
    }
  }
  playing_ = true;
}

void CalloutQueue::Timekanko(int scheduledTime, int kind) {
  if (!ctx_) return;
  const int64_t now = train().TickCounter;
  const int64_t d = std::llabs(now - scheduledTime);
  if (d <= 450) {
    kanko_queue_add(kind == 0 ? 17 : 18);
    return;
  }
  if (d > 3600) return;
  kanko_queue_add(d <= 900    ? 6
                  : d <= 1350 ? 7
                  : d <= 1800 ? 8
                  : d <= 2250 ? 9
                  : d <= 2700 ? 10
                  : d <= 3150 ? 11
                              : 12);
  const bool late = scheduledTime < now;
  kanko_queue_add(late ? (kind == 0 ? 13 : 14) : (kind == 0 ? 15 : 16));
}

void CalloutQueue::Timecheck(int flag) {
  if (!ctx_ || flag != 0) return;
  CalloutState& c = train().callout;
  const auto& rows = ctx_->line.Time;
  c.timeChecked.resize(rows.size(), false);
  const int32_t f = train().MovieFrame;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].f(1) < f && f < rows[i].f(2)) {
      Timekanko(rows[i].f(3), 1);
      c.timeChecked[i] = true;
    }
  }
}

void CalloutQueue::kanko_add(int type) {
  if (!ctx_ || (type != 1 && type != 2)) return;
  const int32_t signal = currentSignalRow(ctx_->line, train().MovieFrame);
  if (signal < 0) return;
  auto& markers = train().callout.signalMarkers;
  // Each kind of a signal's rows is called out once per approach; the marker remembers it.
  auto playKind = [&](int32_t kind) {
    if (markers[static_cast<size_t>(kind)] == signal) return;
    markers[static_cast<size_t>(kind)] = signal;
    for (const IntRow<3>& row : ctx_->line.SignalKanko) {
      if (row.f(1) != signal || row.f(2) != kind) continue;
      const int32_t value = row.f(3);
      if (value <= 998)
        kanko_queue_add(value);
      else if (kind == 1 && value >= kFirstTime)
        Timekanko(value, 0);
      // 999 (the Enter key) is the key being served: nothing more.
    }
  };
  if (type == 1) {
    playKind(0);
  } else {
    playKind(2);
    playKind(1);
  }
}

void CalloutQueue::addTime(int32_t value, int kind) {
  if (value == kEnterKey)
    calloutKey();
  else if (value >= kFirstTime)
    Timekanko(value, kind);
}

void CalloutQueue::StationKanko(int type) {
  if (!ctx_ || type < 0 || type > 5) return;
  // Type 4 starts with the first-notch clip 20. Type 3's doors-closed clip 19 is queued by the
  // door rule itself, right before it fires type 3.
  if (type == 4) kanko_queue_add(20);
  const int32_t kind = kStationKind[static_cast<size_t>(type)];
  const int32_t station = train().stations.currentStation;
  for (const IntRow<3>& row : ctx_->line.StationKanko) {
    if (row.f(1) != station || row.f(2) != kind) continue;
    const int32_t value = row.f(3);
    if (value <= 998)
      kanko_queue_add(value);
    else if (type != 0)  // the stand at a stop plays clips only
      addTime(value, 0);
  }
  // The stop arms the first-notch call-out; the handle update fires it (masconupdate).
  if (type == 0 || type == 1) train().departureCalloutRequest = true;
  if (type == 5 || type == 1) sound::sectionSound(*ctx_, type);
}

void CalloutQueue::runTick() {
  if (!ctx_) return;
  if (train().departureCalloutDue) {
    train().departureCalloutDue = false;
    StationKanko(4);
  }
  updateCalloutTriggers(*ctx_);
  kanko_queue_play();
}

}  // namespace kestrel
