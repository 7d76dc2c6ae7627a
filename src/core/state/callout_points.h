#pragma once
// The points at which station, signal and key rules fire driver call-outs. The call-out queue
// serves them; until a drive has one, the default does nothing. Rules call these instead of the
// queue itself, so that they can be tested with a recording implementation.
namespace kestrel {

class CalloutPoints {
 public:
  virtual ~CalloutPoints() = default;
  // Station call-outs of the current station, type 0 to 5 (the moments of the station stop).
  virtual void StationKanko(int /*type*/) {}
  // Signal call-outs of the current signal, type 1 or 2.
  virtual void kanko_add(int /*type*/) {}
  // Queue one clip by its number in the clip table.
  virtual void kanko_queue_add(int /*clip*/) {}
  // The time call-out for a scheduled time, kind 0 or 1.
  virtual void Timekanko(int /*scheduledTime*/, int /*kind*/) {}
  // The time check of the [Time] rows whose window holds the train.
  virtual void Timecheck(int /*flag*/) {}
  // The call-out key (Enter): the further, limit, signal or crossing call-out due now.
  virtual void calloutKey() {}
};

}  // namespace kestrel
