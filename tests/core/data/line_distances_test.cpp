// The frame-to-distance conversion, with the values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "core/data/line_distances.h"

namespace kestrel {
namespace {

SpeedUnitRow unit(int s, int e, double a, double b) {
  SpeedUnitRow r;
  r.start = s;
  r.end = e;
  r.vStart = a;
  r.vEnd = b;
  return r;
}

SignalRow signalAt(int position) {
  SignalRow s;
  s.f(6) = position;
  return s;
}

StationRow stationAt(int frame, int halfWidth) {
  StationRow s;
  s.field[3] = frame;
  s.field[4] = halfWidth;
  return s;
}

TEST(LineDistances, ConstantFilmingSpeed) {
  // 36 km/h = 10 m/s: frame 300 is 10 s of movie, 100 m.
  EXPECT_EQ(speedUnitDistance(unit(0, 300, 36, 36), 0, 300), 10000);
  EXPECT_EQ(speedUnitDistance(unit(0, 300, 36, 36), 0, 150), 5000);
  EXPECT_EQ(speedUnitDistance(unit(600, 900, 36, 36), 20000, 600), 20000);
}

TEST(LineDistances, TwoRowsWorkedByHand) {
  LineData line;
  line.SpeedUnit = {unit(0, 3000, 36, 72), unit(3000, 6000, 72, 36)};
  line.Station = {stationAt(150, 1000), stationAt(3150, 1000), stationAt(5850, 500)};
  convertLineDistances(line);
  // Row 1 ends at (36 + 72) x 3000 / 2.16 = 150000 cm; row 2 adds as much.
  EXPECT_EQ(line.SpeedUnit[0].endDistanceCm, 150000);
  EXPECT_EQ(line.SpeedUnit[1].endDistanceCm, 300000);
  // Frame 150: speeds 36 and 37.8, mean 36.9 km/h = 1025 cm/s, for 5 s.
  EXPECT_EQ(line.Station[0].stopDistanceCm, 5125);
  EXPECT_EQ(line.Station[0].platformStartCm, 4125);
  EXPECT_EQ(line.Station[0].platformEndCm, 6125);
  // Frame 3150: speeds 72 and 70.2, mean 71.1 km/h = 1975 cm/s, for 5 s, after 150000 cm.
  EXPECT_EQ(line.Station[1].stopDistanceCm, 159875);
  // Frame 5850: speeds 72 and 37.8, mean 54.9 km/h = 1525 cm/s, for 95 s.
  EXPECT_EQ(line.Station[2].stopDistanceCm, 294875);
  EXPECT_EQ(line.Station[2].platformEndCm, 295375);
}

TEST(LineDistances, MergedEventsSignalsThenLimitsEachOnce) {
  LineData line;
  line.SpeedUnit = {unit(0, 3000, 36, 72), unit(3000, 6000, 72, 36)};
  line.Signal = {signalAt(3000), signalAt(5000)};  // 3000 lies on the boundary of both rows
  SpeedLimitRow limit;
  limit.f(1) = 45;
  limit.f(3) = 3;
  limit.f(4) = 1500;
  line.SpeedLimit = {limit};
  convertLineDistances(line);
  ASSERT_EQ(line.events.size(), 3u);
  EXPECT_EQ(line.events[0].distanceCm, 150000);
  EXPECT_EQ(line.events[0].kind, 2);
  EXPECT_EQ(line.events[0].value, 10);
  EXPECT_EQ(line.events[0].index, 0);
  // Frame 5000: speeds 72 and 48, mean 60 km/h, for 2000 / 30 s: 111111.1 cm after row 1.
  EXPECT_EQ(line.events[1].distanceCm, 261111);
  EXPECT_EQ(line.events[1].index, 1);
  EXPECT_EQ(line.events[2].kind, 3);  // the [SpeedLimit] kind code
  EXPECT_EQ(line.events[2].value, 45);
  EXPECT_EQ(line.events[2].distanceCm, line.SpeedLimit[0].startCm);
  // Frame 1500: speeds 36 and 54, mean 45 km/h = 1250 cm/s, for 50 s.
  EXPECT_EQ(line.SpeedLimit[0].startCm, 62500);
}

TEST(LineDistances, EveryConvertedTableAndPositionsOutsideTheRows) {
  LineData line;
  line.SpeedUnit = {unit(100, 400, 36, 36)};
  SpeedCheck1Row c1;
  c1.f(3) = 250;
  SpeedCheck2Row c2;
  c2.f(3) = 100;
  c2.f(4) = 400;
  TrafficSignalRow t;
  t.f(1) = 130;
  DopplerRow d;
  d.f(2) = 160;
  TunnelRow tunnel;
  tunnel.entry = 190;
  tunnel.exit = 700;
  line.SpeedCheck1 = {c1};
  line.SpeedCheck2 = {c2};
  line.TrafficSignal = {t};
  line.Doppler = {d};
  line.Tunnel = {tunnel};
  line.Signal = {signalAt(50), signalAt(200)};
  std::vector<std::string> warnings;
  convertLineDistances(line, &warnings);
  EXPECT_EQ(line.SpeedCheck1[0].positionCm, 5000);
  EXPECT_EQ(line.SpeedCheck2[0].startCm, 0);
  EXPECT_EQ(line.SpeedCheck2[0].endCm, 10000);
  EXPECT_EQ(line.TrafficSignal[0].positionCm, 1000);
  EXPECT_EQ(line.Doppler[0].positionCm, 2000);
  EXPECT_EQ(line.Tunnel[0].entryCm, 3000);
  EXPECT_EQ(line.Tunnel[0].exitCm, 0);  // beyond the last row
  EXPECT_EQ(line.Signal[0].positionCm, 0);
  ASSERT_EQ(line.events.size(), 1u);  // only the covered signal enters the list
  EXPECT_EQ(line.events[0].index, 1);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_NE(warnings[0].find("[Signal]: 1 position"), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find("row 1, position 50"), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[1].find("[Tunnel] exit"), std::string::npos) << warnings[1];
}

TEST(LineDistances, ExtremePositionsStayFinite) {
  LineData line;
  line.SpeedUnit = {unit(-2147483647 - 1, 2147483647, 1e300, 1e300)};
  line.Signal = {signalAt(0)};
  convertLineDistances(line);
  EXPECT_TRUE(std::isfinite(line.SpeedUnit[0].endDistanceCm));
  EXPECT_EQ(line.Signal[0].positionCm, 2147483647);  // saturated, not undefined
}

TEST(LineDistances, ZeroLengthRowHasNoSlope) {
  LineData line;
  line.SpeedUnit = {unit(0, 300, 36, 36), unit(300, 300, 36, 72), unit(300, 600, 36, 36)};
  line.Signal = {signalAt(300)};
  convertLineDistances(line);
  EXPECT_EQ(line.Signal[0].positionCm, 10000);
  EXPECT_FALSE(std::isnan(line.SpeedUnit[1].endDistanceCm));
  EXPECT_EQ(line.events.size(), 1u);
}

}  // namespace
}  // namespace kestrel
