#pragma once
// The call-out queue: recorded driver call-outs pass through 12 slots and one mixer channel, one
// clip at a time, so that they never overlap. It serves the call-out points that the station,
// signal, handle and key rules fire (the station and signal tables, the time call-out, the
// call-out key), and plays at most one clip per tick. With "喚呼なし(&K)" checked the queue still
// drains, one clip per tick, in silence.
//
// Thread contract: like every rule, runs on the thread that owns the drive; the busy flag only
// keeps a tick from playing while a clip is being added.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/present/sound_bank.h"
#include "core/state/callout_points.h"
#include "core/state/drive_context.h"

namespace kestrel {

inline constexpr const char* kCalloutPlayError = "喚呼の再生エラー";

class CalloutQueue final : public CalloutPoints {
 public:
  static constexpr size_t kSlots = 12;
  using MessageSink = std::function<void(const std::string&)>;

  CalloutQueue();
  // The drive whose state and mixer the queue uses; must outlive the queue's use.
  void attach(DriveContext& ctx) { ctx_ = &ctx; }
  void setClips(CalloutClips clips) { clips_ = std::move(clips); }
  // Where "喚呼の再生エラー" goes (the desktop shows it in a message box).
  void setMessageSink(MessageSink sink) { sink_ = std::move(sink); }

  void StationKanko(int type) override;
  void kanko_add(int type) override;
  void kanko_queue_add(int clip) override;
  void Timekanko(int scheduledTime, int kind) override;
  void Timecheck(int flag) override;
  void calloutKey() override;

  // Once per tick.
  void kanko_queue_play();
  // Tick stage Callouts: the first-notch call-out that the handle update asked for, what may be
  // called out at the train's position, then one step of the queue.
  void runTick();
  // All slots emptied (the cab window closes).
  void clear();

  const std::array<WaveId, kSlots>& slots() const { return slots_; }
  size_t size() const;
  bool playing() const { return playing_; }

 private:
  void add(WaveId wave);
  void addTime(int32_t value, int kind);  // a table value above 998: a time, or the Enter key
  TrainState& train() { return ctx_->train; }

  DriveContext* ctx_ = nullptr;
  CalloutClips clips_;
  std::array<WaveId, kSlots> slots_;
  bool busy_ = false;
  bool playing_ = false;
  MessageSink sink_;
};

// The tick's part of the call-out key: the due further call-out ([Time] windows give the time
// check), the two limit call-out requests and the level crossings pending.
void updateCalloutTriggers(DriveContext& ctx);
// The call-out state a restored drive or a station jump starts from (resetPositionWorkingValues):
// signal markers idle, no departure call-out asked for, nothing due, no limit request, the [Time]
// checks not yet made, and the crossing list emptied; the next tick refills it with the [Cross]
// rows that hold the new MovieFrame, so the reset may run before MovieFrame has its new value.
void resetCallouts(DriveContext& ctx);
// The [Signal] row whose approach section holds the frame (the last such row), or -1.
int32_t currentSignalRow(const LineData& line, int32_t frame);
// The fixed clip that calls out a signal code, or -1 for a code without one.
int32_t aspectClip(int32_t code);

}  // namespace kestrel
