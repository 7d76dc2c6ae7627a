#include "core/front/recorded_content.h"

namespace kestrel {

SessionChoice recordedChoice(const RecordingHeader& header, const std::filesystem::path& programDirectory) {
  return SessionChoice::of(programDirectory, header.line.name, header.train.name);
}

std::vector<std::string> recordedContentDifferences(const RecordingHeader& header, const SessionChoice& choice,
                                                    ContentHasher& hasher) {
  std::vector<std::string> out;
  const auto check = [&](const char* what, const std::string& name, const std::filesystem::path& path,
                         const std::string& recorded) {
    const auto hash = hasher.hashFile(path);
    if (!hash)
      out.push_back(std::string("The ") + what + " " + name + " cannot be read.");
    else if (*hash != recorded)
      out.push_back(std::string("The ") + what + " " + name + " is not the one this drive was recorded on.");
  };
  check("line file", choice.lineFileName, choice.programDirectory / choice.lineFileName, header.line.hash);
  check("vehicle file", (choice.vehicleDirectory / choice.vehicleFileName).generic_string(),
        choice.vehicleFolder() / choice.vehicleFileName, header.train.hash);
  return out;
}

SessionChoice ghostChoice(DriveRecording& ghost, const SessionChoice& choice, int32_t station) {
  if (ghost.header.format != 0) return recordedChoice(ghost.header, choice.programDirectory);
  ghost.header.station = station;
  return choice;
}

}  // namespace kestrel
