#pragma once
// A recording played again: the drive it names in a content folder, and whether the files there
// are the ones it was driven on.
#include <filesystem>
#include <string>
#include <vector>

#include "core/front/drive_script.h"
#include "core/front/session_choice.h"
#include "core/ports/content_hasher.h"

namespace kestrel {

// The line and vehicle files the recording names, in the content folder `programDirectory`.
SessionChoice recordedChoice(const RecordingHeader& header, const std::filesystem::path& programDirectory);

// One sentence for each file of `choice` that is not the one the recording was made on (its hash
// differs, or it cannot be read); none when both are the same.
std::vector<std::string> recordedContentDifferences(const RecordingHeader& header, const SessionChoice& choice,
                                                    ContentHasher& hasher);

// A ghost for a drive of `choice` at `station`: a recording races on what it names; a script,
// which names nothing, on the driver's line, train and start station.
SessionChoice ghostChoice(DriveRecording& ghost, const SessionChoice& choice, int32_t station);

}  // namespace kestrel
