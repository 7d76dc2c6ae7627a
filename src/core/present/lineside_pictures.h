#pragma once
// The line-side pictures of the line file's picture lists: traffic lights with a fixed cycle,
// animations and level crossings. Each list has one sprite (SpriteScene) whose pattern picks the
// list's picture, counted from 0; the rules below choose it each tick and the cab display draws
// it with the trackside pictures (order 100).
//
// - Traffic lights ([TrafficSignal]): every tick each light's counter falls by one; when it falls
//   below 1 the next phase (after 6 comes 1) starts with its own duration. While a light's range
//   holds the train (start <= frame < end) its picture shows the pattern of its phase; a phase of
//   duration 0 leaves the previous picture standing. Within 15 frames of the end, and outside
//   the range, the picture is cleared. A light with field 22 set drives the cab indicator
//   "img_cabsignal" from its start to field 23: cell field 25 in phases whose flag is 1, else
//   cell field 24 with the notice of [InfoLabel] line 22, which is cleared within 15 frames of
//   field 23. The first row in table order that holds the train is the one shown.
// - Animations ([Anim]): while a row's range holds the train, its step advances each time more
//   than field 3 ticks have passed, 0 to 13 and back to 0; the first such row shows picture
//   field 4 + step.
// - Level crossings ([Cross]: call-out range start, end, picture, clip, crossing position): the
//   crossing's picture (field 3) shows while the first row whose range holds the train
//   (start <= frame < end) does, as the crossing's call-out is pending.
//
// Places on the view (W and H of [Disp], ox and oy the offset of [SignalImageList] line 1): the
// traffic light stands with the signal pictures, at (ox + 0.25 W, oy + 0.1 H); the animation at
// (0.4 W, 0.1 H); the crossing picture in the left column under the other-signs post, at
// (0, 0.55 H), level with the gradient post on the right.
#include "core/state/drive_context.h"

namespace kestrel::lineside {

// Drive set-up: every light in phase 1 with its duration, the sprites at their places, nothing
// shown.
void setUpLineside(DriveContext& ctx);

// Every light in phase 1 with the phase-1 duration (set-up calls it).
void startTrafficLights(DriveContext& ctx);

// Tick stage 9, after the signal codes and before the signal pictures, which show the cab
// indicator the lights ask for.
void updateTrafficLights(DriveContext& ctx);
// Tick stage 11, with the trackside displays.
void updateAnimations(DriveContext& ctx);
void updateCrossingPicture(DriveContext& ctx);

// Station jump and restore: nothing shown and the animations at step 0 until the next tick draws
// the new place; the lights keep their cycles, which run on time, not on the train's position.
void resetLineside(DriveContext& ctx);

}  // namespace kestrel::lineside
