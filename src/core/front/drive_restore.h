#pragma once
// The restore of a saved drive (L1Click's engine side): the train is put back at the saved place,
// speed and time with the handles at rest, the doors shut and every per-position working value
// reset, so that signals, stations and call-outs behave as if the train had just arrived there.
// The window sets its caption back to the line name.
#include "core/front/cab_session.h"
#include "core/front/saved_drive.h"

namespace kestrel {

void restoreSavedDrive(CabSession& session, const SavedDrive& drive);

}  // namespace kestrel
