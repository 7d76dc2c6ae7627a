#pragma once
// kestrel-run --sound-log: every operation asked of the recording mixer, one per line, with the
// virtual time it was asked at:
//
//   TIME OP CHANNEL [VALUE] [FILE] [nowave]
//
// TIME in seconds with six decimals; OP one of loadWave, freeAllWaves, setWave, playOnce,
// playLooped, stop, setFrequency, setVolume, reinitialise; CHANNEL -1 for the whole mixer; VALUE
// the wave id (loadWave: the id the file got; setWave), the frequency ratio or the volume;
// FILE the loaded file; "nowave" marks an operation on a channel that held no wave data, which
// does nothing.
#include <ostream>
#include <string>

#include "core/ports/recording_mixer.h"

namespace kestrel::run {

std::string soundLogLine(const RecordingMixer::Operation& op);

// Writes the operations recorded so far and forgets them, so that a long drive keeps no record.
void flushSoundLog(RecordingMixer& mixer, std::ostream* out);

}  // namespace kestrel::run
