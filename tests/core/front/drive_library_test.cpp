// The drives folder: names that sort by age and never clash, the oldest pruned past the count
// kept, and the ghost picked as the best-graded recording of the same line and train.
#include "core/front/drive_library.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

void writeRecording(const fs::path& path, const std::string& line, const std::string& train, const std::string& score) {
  std::ofstream(path, std::ios::binary) << "kestrel-recording 1\nline " << line << " sha256:" << std::string(64, '0')
                                        << "\ntrain " << train << " sha256:" << std::string(64, '1')
                                        << "\n1.000000 key 5\n2.000000 end\n"
                                        << (score.empty() ? "" : "score " + score + "\n");
}

TEST(DriveLibrary, NamesSortByAgeAndTheOldestArePrunedPastTheCountKept) {
  const fs::path dir = test::scratchDir("drive_library_prune");
  const fs::path first = newRecordingPath(dir, "20240501-100000", "line_local.dat", "trains/313 A&B.dat");
  EXPECT_EQ(first.filename(), "20240501-100000-line_local-313_A_B.drive");
  writeRecording(first, "line_local.dat", "trains/313 A&B.dat", "80");
  // The same second again: a name of its own.
  EXPECT_EQ(newRecordingPath(dir, "20240501-100000", "line_local.dat", "trains/313 A&B.dat").filename(),
            "20240501-100000-line_local-313_A_B-2.drive");
  for (const char* stamp : {"20240502-100000", "20240503-100000", "20240504-100000"})
    writeRecording(newRecordingPath(dir, stamp, "line_local.dat", "t.dat"), "line_local.dat", "t.dat", "");
  std::ofstream(dir / "notes.txt") << "kept";
  const fs::path writing = dir / "20240504-100000-line_local-t.drive";
  pruneRecordings(dir, 2, writing);
  const auto left = recordingFiles(dir);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].filename(), "20240503-100000-line_local-t.drive");
  EXPECT_EQ(left[1], writing);
  EXPECT_TRUE(fs::exists(dir / "notes.txt"));
}

TEST(DriveLibrary, TheGhostIsTheBestGradedDriveOfTheSameLineAndTrainTheLatestOfEqualScores) {
  const fs::path dir = test::scratchDir("drive_library_best");
  writeRecording(dir / "1.drive", "line_local.dat", "t.dat", "70");
  writeRecording(dir / "2.drive", "line_local.dat", "t.dat", "90");
  writeRecording(dir / "3.drive", "line_local.dat", "t.dat", "90");
  writeRecording(dir / "4.drive", "line_local.dat", "other.dat", "100");  // another train
  writeRecording(dir / "5.drive", "line_rapid.dat", "t.dat", "100");      // another line
  writeRecording(dir / "6.drive", "line_local.dat", "t.dat", "-");        // a void exam
  writeRecording(dir / "7.drive", "line_local.dat", "t.dat", "");         // cut before its score
  std::ofstream(dir / "8.drive") << "0 key\n";                             // malformed
  EXPECT_EQ(bestRecording(dir, "line_local.dat", "t.dat"), dir / "3.drive");
  EXPECT_EQ(bestRecording(dir, "line_local.dat", "t.dat", dir / "3.drive"), dir / "2.drive");
  EXPECT_EQ(bestRecording(dir, "line_local.dat", "none.dat"), std::nullopt);
  EXPECT_EQ(bestRecording(dir / "missing", "line_local.dat", "t.dat"), std::nullopt);
}

}  // namespace
}  // namespace kestrel
