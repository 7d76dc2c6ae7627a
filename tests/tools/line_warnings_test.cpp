// kestrel-check's line warnings against the quick demo's movie (1366 frames): places beyond the
// movie or outside every [SpeedUnit] row, rows that overlap, a movie shorter than the line.
#include <gtest/gtest.h>

#include "core/data/line_loader.h"
#include "core/data/settings_loader.h"
#include "support/fake_picture_loader.h"
#include "tools/check/line_warnings.h"
#include "tools/demo_files.h"

namespace kestrel::check {
namespace {

std::vector<std::string> messages(const std::vector<LineWarning>& warnings, const std::string& kind) {
  std::vector<std::string> out;
  for (const LineWarning& w : warnings)
    if (w.kind == kind) out.push_back(w.message);
  return out;
}

TEST(LineWarnings, PlacesBeyondTheMovieOrItsRowsAndRowsThatOverlap) {
  const auto demo = test::quickDemo();
  SettingsData settings;
  loadRailvaneFile(demo / "railvane.dat", settings);
  test::FakePictureLoader pictures;
  LineData line;
  PictureCatalog catalog;
  loadLineFile(demo / "line_local.dat", {demo, "train_313-1000_10cars.dat", 800, 600, pictures}, line, catalog);
  ASSERT_TRUE(lineWarnings({line, settings, nullptr, demo}, pictures).empty());

  const int32_t end = line.SpeedUnit.back().end;  // 1366, the movie's frame count
  StationRow beyond = line.Station.back();
  beyond.name = "延長駅";
  beyond.field[3] = end + 100;
  line.Station.push_back(beyond);
  line.SpeedUnit.push_back({end - 10, end + 200, 30, 30});
  line.Slope.push_back({Fixed::fromInt(3), -5, 20});
  const auto warnings = lineWarnings({line, settings, nullptr, demo}, pictures);
  EXPECT_EQ(messages(warnings, "movie-short"),
            (std::vector<std::string>{"the movie " + settings.Path + line.DataName +
                                      ".avi has frames 0 to 1365, but the line runs to frame 1565 ([SpeedUnit])"}));
  EXPECT_EQ(messages(warnings, "outside-movie"),
            (std::vector<std::string>{"[Station] 延長駅: frame 1466 lies beyond the movie's last frame 1365",
                                      "[Slope] start: frame -5 lies before the movie's first frame"}));
  EXPECT_EQ(messages(warnings, "speedunit-overlap"),
            (std::vector<std::string>{"[SpeedUnit]: frames 1356 to 1365 lie in two rows"}));

  line.SpeedUnit.pop_back();
  EXPECT_EQ(messages(lineWarnings({line, settings, nullptr, demo}, pictures), "outside-speedunit"),
            (std::vector<std::string>{
                "[Station] 延長駅: frame 1466 lies outside every [SpeedUnit] row, so it has no distance"}));
}

}  // namespace
}  // namespace kestrel::check
