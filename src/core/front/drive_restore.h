#pragma once
// The restore of a saved drive (L1Click's engine side): the train is put back at the saved place,
// speed and time with the handles at rest, the doors shut and every per-position working value
// reset, so that signals, stations and call-outs behave as if the train had just arrived there.
// The window sets its caption back to the line name.
#include <optional>
#include <string_view>

#include "core/front/cab_session.h"
#include "core/front/saved_drive.h"

namespace kestrel {

void restoreSavedDrive(CabSession& session, const SavedDrive& drive);

// S2Click: the drive saved into slot 1 .. 3 of the store with its title; the message to show
// (kDriveNotSaved when the store could not be written).
std::string_view saveDriveToSlot(PreferenceStore& store, const CabSession& session, const LineData& line,
                                 const std::string& lineFile, int slot);
// L1Click: the slot read, checked whole (savedDriveFitsLine included) and restored; nullopt when
// restored, otherwise the message of the refusal, with nothing of the drive changed.
std::optional<std::string_view> restoreDriveFromSlot(PreferenceStore& store, CabSession& session,
                                                     const std::string& lineFile, int slot);
// The same for a slot's text read before (a recorded drive carries it).
std::optional<std::string_view> restoreDriveFromText(CabSession& session, const std::string& lineFile,
                                                     std::string_view text);

}  // namespace kestrel
