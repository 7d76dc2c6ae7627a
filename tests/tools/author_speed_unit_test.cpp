// kestrel-author speedunit and locate: a GPX made here from a known speed profile (with and
// without GPS scatter) gives a table whose distances match the profile within the tolerance at
// every frame; marks give the same; bad input is refused with a message.
#include <gtest/gtest.h>

#include <GeographicLib/LocalCartesian.hpp>
#include <algorithm>
#include <cmath>

#include "core/data/line_distances.h"
#include "tools/filmed_ride.h"
#include "tools/author/author_error.h"
#include "tools/author/gpx_track.h"
#include "tools/author/iso_time.h"
#include "tools/author/mark_profile.h"
#include "tools/author/movie_clock.h"
#include "tools/author/speed_unit_fit.h"
#include "tools/author/track_distance.h"

namespace kestrel::author {
namespace {

using test::gpxOf;
using test::kLat0;
using test::kLon0;
using test::kStart;
using test::placeOf;
using test::Ride;

struct Fitted {
  SpeedUnitFit fit;
  std::vector<double> truthCm;
};

// The movie: from 10 s into the ride (the logger runs before the camera) to 2 s before its end.
Fitted fitFromTrack(const Ride& ride, double sigma, double fps) {
  const auto points = parseGpx(gpxOf(ride, sigma), "ride.gpx");
  const TrackDistance track(points);
  const MovieClock clock = clockFromOffset(points.front().time, 10, fps);
  const auto frames = static_cast<int64_t>((ride.duration() - 12) * fps);
  requireCoverage(clock, frames, track.begin(), track.end(), "the track");
  Fitted out;
  std::vector<double> target;
  for (int64_t f = 0; f < frames; ++f) {
    const double t = clock.timeOf(static_cast<double>(f));
    target.push_back((track.metresAt(t) - track.metresAt(clock.first)) * 100);
    out.truthCm.push_back((ride.metresAt(t - kStart) - ride.metresAt(10)) * 100);
  }
  out.fit = fitSpeedUnit(target, {});
  return out;
}

struct TrackCase {
  double sigma;
  double fps;
};

class SpeedUnitFromTrack : public ::testing::TestWithParam<TrackCase> {};

TEST_P(SpeedUnitFromTrack, TableDistancesMatchTheRideWithinTheTolerance) {
  const Ride ride;
  const Fitted f = fitFromTrack(ride, GetParam().sigma, GetParam().fps);
  const std::vector<double> table = speedUnitDistances(f.fit.rows);
  ASSERT_EQ(table.size(), f.truthCm.size());
  const FitTolerance tolerance;
  double worst = 0;
  size_t worstFrame = 0;
  for (size_t i = 0; i < table.size(); ++i) {
    const double excess = std::fabs(table[i] - f.truthCm[i]) - tolerance.allowedCm(f.truthCm[i]);
    if (i == 0 || excess > worst) worst = excess, worstFrame = i;
  }
  EXPECT_LE(worst, 0) << "frame " << worstFrame << ": table " << table[worstFrame] << " cm, ride "
                      << f.truthCm[worstFrame] << " cm";
  EXPECT_LE(f.fit.rows.size(), LineData::kSpeedUnitCapacity);
  // Rows follow one another, speeds never jump, the table starts standing.
  for (size_t r = 1; r < f.fit.rows.size(); ++r) {
    EXPECT_EQ(f.fit.rows[r].start, f.fit.rows[r - 1].end);
    EXPECT_EQ(f.fit.rows[r].vStart, f.fit.rows[r - 1].vEnd);
  }
  EXPECT_LT(f.fit.rows.front().vStart, 1.0);
  // Cruising at 20 m/s is 72 km/h at 30 frames a second; a slower movie's table runs faster.
  const int64_t cruise = static_cast<int64_t>(60 * GetParam().fps);  // 70 s into the ride
  for (const SpeedUnitRow& r : f.fit.rows) {
    if (r.start <= cruise && cruise < r.end) {
      EXPECT_NEAR((r.vStart + (r.vEnd - r.vStart) * (cruise - r.start) / (r.end - r.start)) * GetParam().fps / 30,
                  72, 1.5);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Rides, SpeedUnitFromTrack,
                         ::testing::Values(TrackCase{0, 30}, TrackCase{1, 30}, TrackCase{1, 25}),
                         [](const auto& p) {
                           return "scatter" + std::to_string(static_cast<int>(p.param.sigma)) + "m_" +
                                  std::to_string(static_cast<int>(p.param.fps)) + "fps";
                         });

TEST(SpeedUnitFromTrack, ALongRideWithStandsGivesACompactTable) {
  // Five stations 2.7 km apart with a stand of 30 s at each: sixteen phases of speed. The knots
  // are solved with none below zero; clamping them afterwards instead left the distance short at
  // a stand and split it into dozens of rows.
  std::vector<std::pair<double, double>> phases{{20, 0}};
  for (int leg = 0; leg < 4; ++leg) phases.insert(phases.end(), {{25 / 0.7, 0.7}, {60, 0}, {25 / 0.8, -0.8}, {30, 0}});
  const Ride ride(phases);
  for (unsigned seed = 1; seed <= 8; ++seed) {
    const auto points = parseGpx(gpxOf(ride, 1, seed), "ride.gpx");
    const TrackDistance track(points);
    const MovieClock clock = clockFromOffset(points.front().time, 10, 30);
    std::vector<double> target;
    for (int64_t f = 0; f < static_cast<int64_t>((ride.duration() - 12) * 30); ++f)
      target.push_back((track.metresAt(clock.timeOf(static_cast<double>(f))) - track.metresAt(clock.first)) * 100);
    const SpeedUnitFit fit = fitSpeedUnit(target, {});
    EXPECT_LE(fit.worstCm, fit.worstAllowedCm / 2) << "seed " << seed << ", frame " << fit.worstFrame;
    EXPECT_LE(fit.rows.size(), 30u) << "seed " << seed;
    EXPECT_LE(std::count_if(fit.rows.begin(), fit.rows.end(),
                            [](const SpeedUnitRow& r) { return r.vStart == 0 && r.vEnd == 0; }),
              5)
        << "seed " << seed;
  }
}

TEST(SpeedUnitFromMarks, KilometrePostsGiveTheDistancesBetweenThem) {
  // A train at a steady 36 km/h (10 m/s, 1/3 m a frame) past posts every 100 m, counting down.
  const auto marks = parseMarks("frame,kilometre\n0,12.5\n# posts\n300,12.4\n600,12.3\n900,12.2\n", "m.csv");
  const std::vector<double> target = markDistancesCm(marks, 901, "m.csv");
  EXPECT_NEAR(target[450], 15000, 1);
  const SpeedUnitFit fit = fitSpeedUnit(target, {});
  ASSERT_EQ(fit.rows.size(), 1u);
  EXPECT_EQ(fit.rows[0].start, 0);
  EXPECT_EQ(fit.rows[0].end, 900);
  EXPECT_NEAR(fit.rows[0].vEnd, 36, 0.01);
  EXPECT_LT(fit.worstCm, 1.5);
}

std::string faultOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AuthorError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(AuthorInput, BadTracksAndMarksAreRefusedWithWhatAndWhere) {
  const std::string head = "<gpx>\n<trk><trkseg>\n";
  auto pt = [](const char* time) {
    return std::string("<trkpt lat=\"35\" lon=\"136\">") + (time ? std::string("<time>") + time + "</time>" : "") +
           "</trkpt>\n";
  };
  EXPECT_EQ(faultOf([&] { parseGpx(head + "<trkpt lat=\"35\"\n", "t.gpx"); }).rfind("t.gpx:3: not a GPX file", 0), 0u);
  EXPECT_EQ(faultOf([&] { parseGpx(head + pt(nullptr) + pt(nullptr) + "</trkseg></trk></gpx>", "t.gpx"); }),
            "t.gpx: the track has no time stamps: record it with times (<time> in every <trkpt>)");
  EXPECT_EQ(faultOf([&] { parseGpx(head + pt("2024-05-01T00:00:00Z") + "</trkseg></trk></gpx>", "t.gpx"); }),
            "t.gpx: the track has 1 point with a time of its own; at least two are needed");
  EXPECT_EQ(faultOf([&] {
              parseGpx(head + pt("2024-05-01T00:00:05Z") + pt("2024-05-01T00:00:04Z") + "</trkseg></trk></gpx>",
                       "t.gpx");
            }),
            "t.gpx:4: the time goes backwards: 2024-05-01T00:00:04Z after 2024-05-01T00:00:05Z (line 3)");
  EXPECT_EQ(faultOf([&] { parseGpx(head + pt("2024-05-01T00:00:05Z") + pt(nullptr) + "</trkseg></trk></gpx>", "t.gpx"); }),
            "t.gpx:4: a track point without a time stamp");
  // A track of 100 s; a 30 fps movie of 120 s starting 10 s in misses its first and last seconds.
  EXPECT_EQ(faultOf([] { requireCoverage(clockFromOffset(0, -10, 30), 3600, 0, 100, "the track"); }),
            "the movie is not covered: the track begins 10.0 s after the movie's first frame: frames 0 to 299 have "
            "no position; the track ends 10.0 s before the movie's last frame: frames 3301 to 3599 have no position");
  EXPECT_EQ(faultOf([] { clockFromSync({{0, 100}, {300, 100.5}}, 30); }),
            "the --sync pairs give 600.000 frames a second, not the movie's 30.000: one of them is wrong");
  EXPECT_EQ(faultOf([] { parseMarks("0,1.0\n300,1.1\n600,1.05\n", "m.csv"); }),
            "m.csv:3: the kilometres turn back or stand still here; a movie runs one way along the line");
  EXPECT_EQ(faultOf([] { markDistancesCm(parseMarks("30,1.0\n300,1.1\n", "m.csv"), 400, "m.csv"); }),
            "m.csv: the marks do not span the movie: frames 0 to 29 lie before the first mark (line 1): add a mark "
            "at frame 0; frames 301 to 399 lie after the last mark (line 2): add a mark at frame 399");
}

TEST(AuthorLocate, APlaceBesideTheLineGivesTheFrameThatPassedIt) {
  const Ride ride;
  const auto points = parseGpx(gpxOf(ride, 1), "ride.gpx");
  const TrackDistance track(points);
  // 5 m east of the line where it runs north, 600 m along it.
  double x, y, lat, lon, h;
  placeOf(600, x, y);
  GeographicLib::LocalCartesian(kLat0, kLon0, 0).Reverse(x + 5, y, 0, lat, lon, h);
  const TrackDistance::Nearest n = track.nearest(lat, lon);
  EXPECT_NEAR(n.along, 600, 3);
  EXPECT_NEAR(n.offset, 5, 1.5);
  double t = 0;  // the time the ride reaches 600 m
  while (ride.metresAt(t) < 600) t += 0.01;
  EXPECT_NEAR(track.timeReaching(n.along) - kStart, t, 0.5);
}

}  // namespace
}  // namespace kestrel::author
