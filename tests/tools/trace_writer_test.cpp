// The drive trace: header, columns in their declared order, number formats and CSV quoting.
#include "tools/run/trace_writer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kestrel::run {
namespace {

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> out;
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
        field += line[++i];
      else if (c == '"')
        quoted = false;
      else
        field += c;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      out.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  out.push_back(field);
  return out;
}

TEST(TraceWriter, HeaderNamesTheDeclaredColumnsInOrder) {
  std::ostringstream out;
  TraceWriter(out, 1).writeHeader();
  EXPECT_EQ(
      out.str(),
      "t_s,TickCounter,speed_kmh,distanceRun_cm,distanceToStop_cm,MovieFrame,reverser,powerHandle,powerNotch,"
      "brakeHandle,brakeNotch,netForce_N,resistForce_N,brakeForce_N,bcMotor_kPa,bcTrailer_kPa,bp_kPa,er_kPa,"
      "mr_kPa,sap_kPa,elecBrakeCurrent_A,ammeter_A,lineVoltage_V,gradient_permil,adhesionCoeff,slipText,"
      "engineSpeed,gear,clock,currentStation,nextStopStation,stopTarget_cm,doorsOpen,doorsCommandedOpen,"
      "stationText,preTrainFrame,runEnded,MovieMode,SubFrame,LastShownFrame,MovieDirection\r\n");
}

TEST(TraceWriter, RowsCarryTheStateAfterTheTickEveryNthTick) {
  TrainState t;
  ControlState c;
  t.TickCounter = 27000;
  t.speed = -0.0000001;  // prints as 0, not -0
  t.netForce = Fixed::fromDouble(-12345.6789);
  t.slipText = "空転";
  t.bpPressure = 489.5;
  c.brakeHandle = -7;
  t.stations.clockText = "10:00:00";
  t.stations.stationText = "ただいま 鷹見";
  t.doorsOpen = true;
  t.preTrain.preTrainFrame = 456;
  t.MovieMode = 2;
  t.SubFrame = 17;
  std::ostringstream out;
  TraceWriter w(out, 3);
  for (int i = 0; i < 7; ++i) w.tick({100000 * (i + 1), t, c});
  std::istringstream lines(out.str());
  std::string line;
  std::vector<std::vector<std::string>> rows;
  while (std::getline(lines, line)) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    rows.push_back(split(line));
  }
  ASSERT_EQ(rows.size(), 3u);  // ticks 1, 4 and 7
  EXPECT_EQ(rows[0][0], "0.100000");
  EXPECT_EQ(rows[1][0], "0.400000");
  EXPECT_EQ(rows[2][0], "0.700000");
  const auto& r = rows[0];
  ASSERT_EQ(r.size(), traceColumns().size());
  EXPECT_EQ(r[1], "27000");
  EXPECT_EQ(r[2], "0.000000");
  EXPECT_EQ(r[9], "-7");
  EXPECT_EQ(r[11], "-12345.6789");
  EXPECT_EQ(r[16], "489.500000");
  EXPECT_EQ(r[25], "空転");
  auto column = [&](std::string_view name) {
    const auto& columns = traceColumns();
    for (size_t i = 0; i < columns.size(); ++i)
      if (columns[i].name == name) return r.at(i);
    return std::string("(no column)");
  };
  EXPECT_EQ(column("clock"), "10:00:00");
  EXPECT_EQ(column("stationText"), "ただいま 鷹見");
  EXPECT_EQ(column("doorsOpen"), "1");
  EXPECT_EQ(column("doorsCommandedOpen"), "0");
  EXPECT_EQ(column("preTrainFrame"), "456");
  EXPECT_EQ(column("MovieMode"), "2");
  EXPECT_EQ(column("SubFrame"), "17");
}

TEST(TraceWriter, FieldsWithCommasQuotesOrLineBreaksAreQuoted) {
  EXPECT_EQ(csvField("plain"), "plain");
  EXPECT_EQ(csvField("a,b"), "\"a,b\"");
  EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(formatSeconds(3300000), "3.300000");
  EXPECT_EQ(formatSeconds(1), "0.000001");
  EXPECT_EQ(formatDecimal(-1.5, 2), "-1.50");
  EXPECT_EQ(formatDecimal(-0.001, 2), "0.00");
}

}  // namespace
}  // namespace kestrel::run
