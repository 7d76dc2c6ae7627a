#pragma once
// What a drive recording says about the drive besides its inputs: the content it ran on and
// everything outside the inputs that shapes it, each an entry of one line that begins with its
// keyword (the inputs begin with a time):
//
//   kestrel-recording 1                      the format; a script has no such line
//   line FILE sha256:HEX                     the line file, and the hash of its bytes
//   train FILE sha256:HEX                    the vehicle file as --train names it
//   station N                                the start station
//   seed N                                   the drive's random seed
//   preferences Kanko=0 Information=1 ATS=0 Tunnel=0 Moji=0 GradeMode=0
//   controller P=0,0,0,0,0,0 B=0,0,0,0,0,0,0,0,0 EB=0    the game controller's codes
//   program swapKeys=0 controllerKind=0 padSignature=0  what the program run carried in
//   started 2024-05-01T10:00:00              when the drive began (for the user; not used)
//   score 87                                 the grading's score, after the end ("-": none)
//
// File names are escaped as script text (a blank is "\s").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/settings_data.h"
#include "core/ports/preference_store.h"
#include "core/state/key_state.h"

namespace kestrel {

inline constexpr int kRecordingFormat = 1;

struct RecordedFile {
  std::string name;  // the line file in the content folder; the vehicle file relative to it or absolute
  std::string hash;  // "sha256:" and 64 hex digits
};

struct RecordingHeader {
  int format = 0;  // 0: no "kestrel-recording" entry (a script)
  RecordedFile line, train;
  int32_t station = 0;
  uint64_t seed = 0;
  Preferences preferences;
  int32_t gradeMode = 0;  // the preference GradeMode at the start (1: exam)
  ControllerCodes controller;
  ProgramInputState program;
  std::string started;
  bool scored = false;           // a "score" entry was read
  std::optional<int32_t> score;  // nullopt: the grading gave none (a void exam)
};

// The header's lines, in the order above, without "score"; each without a line end.
std::vector<std::string> formatRecordingHeader(const RecordingHeader& header);
std::string formatScoreEntry(std::optional<int32_t> score);

// A line whose first field is one of the keywords above.
bool isRecordingEntry(std::string_view keyword);
// Reads one entry (its fields, the keyword first) into `header`; the message of a fault.
std::optional<std::string> readRecordingEntry(const std::vector<std::string_view>& fields, RecordingHeader& header);

// A preference store that reads back as the recorded drive's did: the five preferences, the
// grading mode and the game controller's codes.
void writeRecordedPreferences(PreferenceStore& store, const RecordingHeader& header);

}  // namespace kestrel
