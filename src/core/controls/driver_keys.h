#pragma once
// The key actions that are more than a handle step: ATS reset and acknowledgement, the one-man
// announcements with the passenger picture, and the keys whose rules belong to other parts of
// the drive (they stand here by name so that those rules have one place to be wired in).
#include "core/state/drive_context.h"

namespace kestrel {

// "r": clears both automatic brakes; the brake notches follow the handle again after their delays.
void atsReset(DriveContext& ctx);
// Space: the chime for the alarm bell; an alarm answered while braking is acknowledged, and the
// ATS lamps show normal again.
void atsAcknowledge(DriveContext& ctx);

// "c"/"1" and "-" on one-man lines.
void nextAnnouncement(DriveContext& ctx);
void previousAnnouncement(DriveContext& ctx);
// Tick: shows the fifth [Others] picture once an armed passenger event is due.
void showPassengerPicture(DriveContext& ctx);
// Mixer channel of announcement i (0 the [Announce] header's sound); nullopt beyond the table.
std::optional<int32_t> announcementChannel(const DriveContext& ctx, int32_t index);

// "d"/"7" on one-man lines: Door_operate.
void doorKey(DriveContext& ctx);
// Enter: the call-out key, served by the call-out queue.
void calloutKey(DriveContext& ctx);
// Shift+F3 (debug): 10 frames short of the next signal's approach section, the signal call-outs
// pending again. Nothing beyond the last section.
void skipToNextSignal(DriveContext& ctx);

}  // namespace kestrel
