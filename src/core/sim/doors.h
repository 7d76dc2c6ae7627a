#pragma once
// The doors: Door_operate (the driver's door key and the automatic door handling of the stations),
// and the tick's part: the door-closed sequence and the closing of doors left open on a train
// that moves off.
//
// Two flags describe the doors (TrainState): doorsCommandedOpen, the last command was to open,
// and doorsOpen, the doors are not yet closed. The door-closed pilot lamp goes dark when the doors
// open and lights when they have closed.
#include "core/state/drive_context.h"

namespace kestrel {

inline constexpr const char* kDoorsOpenText = "ドアが開いています";
inline constexpr const char* kDoorsClosingText = "ドアを閉めています";

// Opens closed doors at a standstill (below 0.1 km/h), or closes open doors.
void Door_operate(DriveContext& ctx);

// On a one-man line the door sounds start only while no one-man announcement ([Announce]) is
// sounding, so that the chime does not talk over the announcement.
bool oneManAnnouncementAllows(const DriveContext& ctx);

// Tick: once the doors have been told to close and neither door sound plays any more, the lamp
// lights, the doors count as closed, [DepSign] sounds, the departure is counted and the
// door-closed call-out queued. Doors still open above 5 km/h are closed.
void runDoors(DriveContext& ctx);

// The door-closed pilot lamp, in the state and on its sprite.
void setDoorLamp(DriveContext& ctx, bool lit);

// Doors closed and the lamp lit, without sounds: the station jump and the restore of a drive.
void closeDoorsAtRest(DriveContext& ctx);

}  // namespace kestrel
