#pragma once
// The sound stages of the cab window's creation (SessionStages): the vehicle sounds, the
// environment sounds, the call-out clips with the motor and engine sets, each loaded through the
// mixer after its status text, then the waves set on their channels and every channel that holds
// one stopped. The waves end up in LoadedSession::sounds, which the cab session takes with its
// records. A content set whose sounds do not fit the mixer's channels, or a wave the mixer cannot
// read, ends the load with a FatalError.
#include "core/front/session_loader.h"
#include "core/ports/mixer.h"

namespace kestrel {

// `stages` with the four sound stages filled in; a sound stage already set runs after ours. With
// `collect` (the authoring check), a wave that cannot be read or sounds that do not fit the
// channels are recorded there and the load goes on.
SessionStages withSoundStages(SessionStages stages, Mixer& mixer, FaultLog* collect = nullptr);

}  // namespace kestrel
