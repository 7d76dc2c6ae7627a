// The demo's route model and filming run: the frame/distance conversion must be the loaders'
// [SpeedUnit] formula, and the derived positions must stay where the route puts them.
#include "tools/make_demo/filming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/make_demo/route.h"
#include "tools/make_demo/services.h"

namespace kestrel::demo {
namespace {

TEST(SpeedUnitDistance, MatchesTheLoadersConversion) {
  // Rows (0, 3000, 60, 60) and (3000, 6000, 60, 120): 60 km/h for 100 s, then rising to 120.
  const std::vector<SpeedUnitRow> rows = {{0, 3000, 60, 60}, {3000, 6000, 60, 120}};
  EXPECT_DOUBLE_EQ(speedUnitDistanceCm(rows, 3000), 166667);
  EXPECT_DOUBLE_EQ(speedUnitDistanceCm(rows, 4500), 270834);
  EXPECT_DOUBLE_EQ(speedUnitDistanceCm(rows, 0), 0);
  // 36 km/h for 300 frames is 100 m.
  EXPECT_DOUBLE_EQ(speedUnitDistanceCm({{0, 300, 36, 36}}, 300), 10000);
  // Rounding half away from zero inside a row: 10 km/h for one frame is 9.259... cm.
  EXPECT_DOUBLE_EQ(speedUnitDistanceCm({{0, 30, 10, 10}}, 1), 9);
}

class EachVariant : public ::testing::TestWithParam<Variant> {};

TEST_P(EachVariant, StopFramesLieAtTheStationsAndTheFilmingSpeedStaysAboveFive) {
  const Route r = makeRoute(GetParam());
  const Filming f(r);
  for (const auto& row : f.rows()) {
    EXPECT_GE(row.vStart, 5.0);
    EXPECT_GE(row.vEnd, 5.0);
  }
  for (const auto& st : r.stations) {
    const int frame = f.frameAt(st.stopM);
    // Nearest frame: never more than one frame's travel away.
    const double step = f.speedAt(frame) / 3.6 / 30.0;
    EXPECT_NEAR(f.metres(frame), st.stopM, step) << st.name;
  }
  EXPECT_LT(f.frameAt(r.bufferStopM) + 2, f.frameCount());
  EXPECT_GT(f.frameAt(r.stations.front().stopM), 0) << "the movie starts before the first stop";
  for (int frame = 1; frame < f.frameCount(); ++frame)
    ASSERT_GT(f.distanceCm(frame), f.distanceCm(frame - 1)) << frame;
}

TEST_P(EachVariant, ServicesKeepTheirTimetablesInOrder) {
  const Route r = makeRoute(GetParam());
  for (const auto& s : makeServices(r)) {
    SCOPED_TRACE(s.file);
    EXPECT_EQ(s.stationType.front(), 0);
    EXPECT_EQ(s.stationType.back(), 0);
    for (size_t i = 1; i < r.stations.size(); ++i)
      EXPECT_GT(s.timeSec[i], s.timeSec[i - 1]) << r.stations[i].name;
  }
}

INSTANTIATE_TEST_SUITE_P(Demo, EachVariant, ::testing::Values(Variant::Full, Variant::Quick));

TEST(FullRoute, HasWhatTheLineMustShow) {
  const Route r = makeRoute(Variant::Full);
  const Filming f(r);
  EXPECT_GE(r.stations.size(), 6u);
  EXPECT_GE(r.stations.back().stopM - r.stations.front().stopM, 7000.0);
  EXPECT_LE(r.movieEndM, 9000.0);
  EXPECT_GE(r.signalPosts.size(), 14u);
  EXPECT_TRUE(std::any_of(r.signalPosts.begin(), r.signalPosts.end(),
                          [](const SignalPost& s) { return s.kind <= 0; }));
  EXPECT_TRUE(std::is_sorted(r.signalPosts.begin(), r.signalPosts.end(),
                             [](const SignalPost& a, const SignalPost& b) { return a.posM < b.posM; }));
  double lo = 0, hi = 0;
  for (const auto& s : r.slopes) lo = std::min(lo, s.permil), hi = std::max(hi, s.permil);
  EXPECT_EQ(lo, -15.0);
  EXPECT_EQ(hi, 12.0);
  EXPECT_LE(f.rows().size(), 100u);
  const auto services = makeServices(r);
  auto stops = [](const Service& s) { return std::count(s.stationType.begin(), s.stationType.end(), 0); };
  EXPECT_EQ(stops(services[0]), 3);
  EXPECT_EQ(stops(services[1]), 4);
  EXPECT_EQ(stops(services[2]), static_cast<long>(r.stations.size()));
}

}  // namespace
}  // namespace kestrel::demo
