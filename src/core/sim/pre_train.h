#pragma once
// The preceding train: it runs from the stop of one [Pre_Train] row's station towards the next
// row's at that row's speed once the row's departure time has passed, and stands before it. It
// moves through the movie frames as the player's train does (33 ms event) and is removed beyond
// the removal position of the [Pre_Train] header (tick).
#include "core/state/drive_context.h"

namespace kestrel {

// 33 ms event, after the player's frame advance; only while it is ahead of the player's train.
void advancePreTrain(DriveContext& ctx);
// Tick: beyond the removal position there is no preceding train any more (preTrainFrame 0).
void removePreTrain(DriveContext& ctx);
// A station jump (and a drive started away from the first station): at the stop frame of the
// station of the first row whose departure time is later than TickCounter; no preceding train
// when every row has departed.
void placePreTrain(DriveContext& ctx);
// The start of a drive: at the [Pre_Train] start position when the drive begins at the first
// station, else placed as on a jump.
void setUpPreTrain(DriveContext& ctx, int32_t startStation);

}  // namespace kestrel
