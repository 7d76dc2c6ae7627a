// The call-out key (Enter): the first case that applies wins — a further call-out due, a speed
// limit, the signal ahead, or a level crossing.
#include "core/present/callout_queue.h"
#include "core/present/sound_layout.h"
#include "core/util/rounding.h"

namespace kestrel {

int32_t currentSignalRow(const LineData& line, int32_t frame) {
  int32_t found = -1;
  for (size_t i = 0; i < line.Signal.size(); ++i)
    if (line.Signal[i].approachStart() <= frame && frame < line.Signal[i].position())
      found = static_cast<int32_t>(i);
  return found;
}

int32_t aspectClip(int32_t code) {
  switch (code) {
    case 1:
    case 7:
    case 10:
    case 13:
    case 17:
    case 21:
    case 26:
    case 30:
      return 0;  // stop
    case 18:
    case 22:
      return 1;  // restricted
    case 4:
    case 8:
    case 11:
    case 14:
    case 19:
    case 23:
    case 27:
    case 31:
      return 2;  // caution
    case 5:
    case 15:
    case 24:
      return 3;  // reduced speed
    case 3:
    case 6:
    case 9:
    case 12:
    case 16:
    case 20:
    case 25:
    case 28:
    case 33:
      return 4;  // clear
    case 2:
      return 5;
    case 29:
    case 34:
      return 21;  // high-speed clear
    default:
      return -1;
  }
}

void CalloutQueue::calloutKey() {
  if (!ctx_) return;
  DriveContext& ctx = *ctx_;
  TrainState& t = train();
  CalloutState& c = t.callout;
  const bool moving = roundHalfAway(t.speed) != 0;

  // 1. A further call-out: the time check, or an [OtherKanko] clip.
  const int32_t due = c.dueNumber;
  const bool otherExists = CalloutClips::at(clips_.other, due) != kNoWave;
  if (due != CalloutState::kNone && (otherExists || due == CalloutState::kTimeCheck)) {
    const int32_t mark = due + SoundLayout::of(ctx.vehicle, ctx.line).bankSizes();
    if (mark != c.lastPlayedMark) {
      if (due == CalloutState::kTimeCheck)
        Timecheck(0);
      else
        add(CalloutClips::at(clips_.other, due));
      c.lastPlayedMark = mark;
    }
    return;
  }

  // 2. A speed limit ahead or in force, while moving.
  if (due == CalloutState::kNone && moving && c.anyLimitRequest()) {
    const int32_t clip = c.limitRequests[0] >= 0 ? c.limitRequests[0] : c.limitRequests[1];
    const int32_t mark = -1 - clip;  // limit marks are negative, apart from the further ones
    if (mark != c.lastPlayedMark) {
      add(CalloutClips::at(clips_.limit, clip));
      c.lastPlayedMark = mark;
    }
    return;
  }

  // 3. The signal ahead, unless a crossing waits to be called out on the move.
  const Sprite* stopMarker = ctx.sprites.find("img_unten_teimoku");
  if (c.crossingMarker() == -1 || !moving || (stopMarker && stopMarker->visible)) {
    const int32_t code = t.currentCode;
    if (code > 34 || code == kNone999) return;
    const int32_t signal = currentSignalRow(ctx.line, t.MovieFrame);
    for (const KankoSound2Row& row : ctx.line.KankoSound2) {
      if (row.number != signal) continue;
      kanko_add(1);
      kanko_queue_add(static_cast<int>(CalloutClips::kFixedCount) + row.number);
    }
    if (const int32_t clip = aspectClip(code); clip >= 0) kanko_queue_add(clip);
    kanko_add(2);
    return;
  }

  // 4. The level crossing first entered.
  const int32_t row = c.crossingPending.front();
  c.crossingPending.erase(c.crossingPending.begin());
  if (row >= 0 && static_cast<size_t>(row) < ctx.line.Cross.size())
    kanko_queue_add(ctx.line.Cross[static_cast<size_t>(row)].f(4));
}

}  // namespace kestrel
