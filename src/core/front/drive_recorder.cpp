#include "core/front/drive_recorder.h"

#include <system_error>

namespace kestrel {

RecordingHeader recordingHeaderOf(const LoadedSession& loaded, int32_t station, uint64_t seed,
                                  const ProgramInputState& program, int32_t gradeMode, ContentHasher& hasher,
                                  std::string started) {
  const SessionChoice& c = loaded.choice;
  RecordingHeader h;
  h.format = kRecordingFormat;
  h.line = {c.lineFileName, hasher.hashFile(c.programDirectory / c.lineFileName).value_or("")};
  h.train = {(c.vehicleDirectory / c.vehicleFileName).generic_string(),
             hasher.hashFile(c.vehicleFolder() / c.vehicleFileName).value_or("")};
  h.station = station;
  h.seed = seed;
  h.preferences = loaded.settings.preferences;
  h.gradeMode = gradeMode;
  h.controller = loaded.settings.controller;
  h.program = program;
  h.started = std::move(started);
  return h;
}

std::unique_ptr<DriveRecorder> DriveRecorder::create(const std::filesystem::path& path,
                                                     const RecordingHeader& header, std::string* error) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::unique_ptr<DriveRecorder> r(new DriveRecorder(path));
  r->out_.open(path, std::ios::binary | std::ios::trunc);
  if (r->out_) {
    r->writeLine("# A drive recorded by Kestrel: kestrel --replay FILE, or kestrel-run --replay FILE");
    for (const std::string& line : formatRecordingHeader(header)) r->writeLine(line);
  }
  if (!r->out_ || r->failed_) {
    if (error) *error = "cannot write the recording " + path.string();
    return nullptr;
  }
  return r;
}

void DriveRecorder::writeLine(const std::string& line) {
  if (failed_) return;
  out_ << line << '\n';
  out_.flush();
  if (!out_) failed_ = true;
}

void DriveRecorder::record(const ScriptInput& input) {
  writeLine(formatScriptInput(input));
}

void DriveRecorder::finish(std::optional<int32_t> score) {
  writeLine(formatScoreEntry(score));
}

}  // namespace kestrel
