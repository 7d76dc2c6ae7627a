#pragma once
// The frames of the main movie a jump can land on: each station's stop frame (the "Move" menu)
// and the frame of each drive saved for this line in the three slots (a restore). The movie reader
// is told them (MovieReader::keepReady) so that it can have them decoded before the jump.
#include <string>
#include <vector>

#include "core/data/line_data.h"
#include "core/ports/preference_store.h"

namespace kestrel {

// Ascending, each once; slots that are empty, of another line or faulty give nothing.
std::vector<int> jumpTargetFrames(const LineData& line, PreferenceStore& store, const std::string& lineFile);

}  // namespace kestrel
