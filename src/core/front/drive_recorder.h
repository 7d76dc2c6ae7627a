#pragma once
// The recording of a drive, written as it goes: the header when the drive starts, then every input
// the door delivers, each line ended and flushed at once, so that a crash or a kill leaves a file
// that replays up to its last complete input; after the end, the grading's score.
//
// Thread contract: the thread that owns the drive (the door calls it).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "core/front/drive_script.h"
#include "core/front/recording_header.h"
#include "core/front/session_loader.h"
#include "core/ports/content_hasher.h"

namespace kestrel {

// What a drive about to start records about itself: its files with their hashes (empty when a file
// cannot be read), the start station, the seed, the preferences it loaded with, the grading mode
// and what the program run carries from drive to drive.
RecordingHeader recordingHeaderOf(const LoadedSession& loaded, int32_t station, uint64_t seed,
                                  const ProgramInputState& program, int32_t gradeMode, ContentHasher& hasher,
                                  std::string started);

class DriveRecorder {
 public:
  // Creates the file (its folder too) and writes the header; nullptr, with the reason in *error,
  // when it cannot be written.
  static std::unique_ptr<DriveRecorder> create(const std::filesystem::path& path, const RecordingHeader& header,
                                               std::string* error);

  void record(const ScriptInput& input);
  // The grading's score, after the "end" (nullopt: none).
  void finish(std::optional<int32_t> score);
  const std::filesystem::path& path() const { return path_; }
  // A line could not be written (the disk is full): nothing more is written.
  bool failed() const { return failed_; }

 private:
  explicit DriveRecorder(std::filesystem::path path) : path_(std::move(path)) {}
  void writeLine(const std::string& line);

  std::filesystem::path path_;
  std::ofstream out_;
  bool failed_ = false;
};

}  // namespace kestrel
