// kestrel-author as an author runs it: a table that the line loader reads back, the movie's own
// rate and count, and bad input or usage refused with a message and nothing on stdout.
#include <gtest/gtest.h>

#include <fstream>

#include "core/data/line_loader.h"
#include "support/cp932_files.h"
#include "support/fake_picture_loader.h"
#include "support/program_run.h"
#include "support/test_paths.h"
#include "tools/demo_files.h"
#include "tools/filmed_ride.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

test::ProgramResult author(const std::vector<std::string>& args) { return test::runProgram(KESTREL_AUTHOR, args); }

void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(KestrelAuthor, TheTableFromATrackLoadsAsALineFileSection) {
  const fs::path dir = test::scratchDir("kestrel_author_table");
  const test::Ride ride;
  write(dir / "ride.gpx", test::gpxOf(ride, 1));
  // The logger ran 10 s before the camera; the movie is 300 s at 30 frames a second.
  const auto r = author({"speedunit", "--gpx", (dir / "ride.gpx").string(), "--offset", "10", "--fps", "30",
                         "--frames", "9000"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("rows for frames 0 to 8999 (300.0 s at 30.000 frames a second"), std::string::npos) << r.err;
  // The stand at the intermediate station (from about 130 s into the movie) is worth a note.
  EXPECT_NE(r.err.find("the camera stands still at frames"), std::string::npos) << r.err;

  test::FakePictureLoader pictures;
  LineData line;
  PictureCatalog catalog;
  auto reader = test::readerOf(r.out);
  loadLine(reader, {dir, "train.dat", 800, 600, pictures}, line, catalog);
  ASSERT_GE(line.SpeedUnit.size(), 2u);
  EXPECT_EQ(line.SpeedUnit.front().start, 0);
  EXPECT_EQ(line.SpeedUnit.back().end, 9000);  // a row's end is the first frame after it

  // A movie of 50 frames at 25 a second gives its own rate and count.
  const fs::path movie = dir / "short.avi";
  ASSERT_EQ(std::system(("ffmpeg -loglevel error -y -f lavfi -i testsrc=size=64x48:rate=25 -frames:v 50 -f avi '" +
                         movie.string() + "'")
                            .c_str()),
            0);
  const auto fromMovie = author({"speedunit", "--gpx", (dir / "ride.gpx").string(), "--sync", "0=10", "--movie",
                                 movie.string(), "--out", (dir / "table.txt").string()});
  ASSERT_EQ(fromMovie.status, 0) << fromMovie.err;
  EXPECT_EQ(fromMovie.out, "");
  EXPECT_NE(fromMovie.err.find("frames 0 to 49 (2.0 s at 25.000 frames a second"), std::string::npos) << fromMovie.err;
  EXPECT_EQ(test::slurp(dir / "table.txt").rfind("[SpeedUnit]\n0,50,", 0), 0u) << test::slurp(dir / "table.txt");

  // A line of the content folder names its movie: the quick demo's, 1366 frames at 30 a second.
  const auto fromLine = author({"speedunit", "--gpx", (dir / "ride.gpx").string(), "--offset", "10", "--line",
                                "line_local.dat", "--data", test::quickDemo().string()});
  ASSERT_EQ(fromLine.status, 0) << fromLine.err;
  EXPECT_NE(fromLine.err.find("frames 0 to 1365 (45.5 s at 30.000 frames a second"), std::string::npos) << fromLine.err;
}

TEST(KestrelAuthor, BadInputAndBadUsageAreRefused) {
  const fs::path dir = test::scratchDir("kestrel_author_refused");
  write(dir / "cut.gpx", "<gpx><trk><trkseg>\n<trkpt lat=\"35\" lon=\"136\"><time>2024-05-01T00:00:00Z</time>\n");
  const auto cut = author({"speedunit", "--gpx", (dir / "cut.gpx").string(), "--offset", "0", "--fps", "30",
                           "--frames", "100"});
  EXPECT_EQ(cut.status, 2);
  EXPECT_EQ(cut.out, "");
  EXPECT_EQ(cut.err.rfind("kestrel-author: " + (dir / "cut.gpx").string() + ":2: not a GPX file", 0), 0u) << cut.err;

  // The track covers 327 s; a movie of 400 s does not fit in it.
  write(dir / "ride.gpx", test::gpxOf(test::Ride(), 0));
  const auto longer = author({"locate", "--gpx", (dir / "ride.gpx").string(), "--offset", "0", "--fps", "30",
                              "--at", "35.1754,136.88"});
  EXPECT_EQ(longer.status, 0) << longer.err;
  EXPECT_NE(longer.out.find(": frame "), std::string::npos) << longer.out;
  const auto uncovered = author({"speedunit", "--gpx", (dir / "ride.gpx").string(), "--offset", "0", "--fps",
                                 "30", "--frames", "12000"});
  EXPECT_EQ(uncovered.status, 2);
  EXPECT_NE(uncovered.err.find("the track ends"), std::string::npos) << uncovered.err;

  const auto usage = author({"speedunit", "--gpx", "x.gpx", "--fps", "30", "--frames", "10"});
  EXPECT_EQ(usage.status, 64);
  EXPECT_EQ(usage.err.rfind("kestrel-author: give --offset S or --sync FRAME=TIME", 0), 0u) << usage.err;
}

}  // namespace
}  // namespace kestrel
