// The drive trace: header, columns in their declared order, number formats and CSV quoting.
#include "tools/run/trace_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/ports/recording_mixer.h"
#include "tools/run/sound_log.h"

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
      "stationText,preTrainFrame,runEnded,MovieMode,SubFrame,LastShownFrame,MovieDirection,playing,"
      "currentCode,"
      "checkSpeed,patternState,patternTarget,autoEmergency,autoService,atsAlarm,noticeText,vigilanceTicks,"
      "teimokuM_y,remain_pattern,remain_y,limit_pattern,slope_pattern,signal_pattern,"
      "trafficlight_pattern,anim_pattern,cross_pattern,cabsignal_pattern,ghostFrame,ghostDeltaS\r\n");
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

TEST(TraceWriter, PlayingListsTheChannelsSoundingAtTheEndOfTheTick) {
  TrainState t;
  ControlState c;
  int64_t now = 0;
  RecordingMixer mixer([&] { return now; });
  for (int ch : {3, 71, 250}) mixer.setWave(ch, mixer.registerWave("w", 1000000));
  mixer.playLooped(71);
  mixer.playOnce(3);
  mixer.playOnce(250);
  mixer.playOnce(12);  // no wave: does not sound
  std::ostringstream out;
  TraceWriter w(out, 1);
  size_t column = 0;
  while (traceColumns().at(column).name != "playing") ++column;
  auto lastField = [&] {
    std::string text = out.str();
    text.pop_back();  // '\n'
    text.pop_back();  // '\r'
    const auto row = split(text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1));
    return row.at(column);
  };
  w.tick({100000, t, c, &mixer});
  EXPECT_EQ(lastField(), "3 71 250");
  now = 1000000;  // the one-shot sounds have ended
  w.tick({200000, t, c, &mixer});
  EXPECT_EQ(lastField(), "71");
  w.tick({300000, t, c});  // no mixer: empty
  EXPECT_EQ(lastField(), "");
}

TEST(SoundLog, OneLinePerOperationWithItsTime) {
  int64_t now = 0;
  RecordingMixer mixer([&] { return now; });
  const WaveId wave = mixer.registerWave("w", 1000000);
  now = 1500000;
  mixer.setWave(7, wave);
  mixer.playLooped(7);
  mixer.setFrequencyRatio(7, 0.5);
  mixer.setVolume(7, -1398);
  mixer.stop(8);  // no wave there
  mixer.freeAllWaves();
  std::ostringstream out;
  flushSoundLog(mixer, &out);
  EXPECT_EQ(out.str(),
            "1.500000 setWave 7 0\n"
            "1.500000 playLooped 7\n"
            "1.500000 setFrequency 7 0.500000\n"
            "1.500000 setVolume 7 -1398\n"
            "1.500000 stop 8 nowave\n"
            "1.500000 freeAllWaves -1\n");
  EXPECT_TRUE(mixer.operations().empty());
  flushSoundLog(mixer, nullptr);  // without a log the record is only dropped
  RecordingMixer::Operation load{2000000, RecordingMixer::Op::LoadWave, -1, 4, "sound/a.wav", false};
  EXPECT_EQ(soundLogLine(load), "2.000000 loadWave -1 4 sound/a.wav");
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

TEST(TraceWriter, SignalColumnsAndTracksidePicturesEmptyWhileHidden) {
  TrainState t;
  ControlState c;
  t.currentCode = 21;
  t.checkSpeed = 998;
  t.signals.patternState = 3;
  t.signals.patternTarget = 10;
  t.autoService = true;
  t.noticeText = "0ATS のブレーキが動作しています";
  t.vigilanceTicks = 612;
  SpriteScene sprites;
  sprites.add({.name = "img_unten_teimokuM", .y = -100});
  sprites.add({.name = "img_unten_remain", .y = -599.6, .pattern = 2});
  sprites.add({.name = "img_unten_limit", .pattern = 1, .visible = false});
  sprites.add({.name = "img_unten_signal", .pattern = 21});
  sprites.add({.name = "img_cross", .pattern = 1, .pictureList = true});
  std::ostringstream out;
  TraceWriter(out, 1).tick({100000, t, c, nullptr, &sprites});
  std::string line = out.str();
  line.resize(line.size() - 2);
  const auto row = split(line);
  auto column = [&](std::string_view name) {
    const auto& columns = traceColumns();
    for (size_t i = 0; i < columns.size(); ++i)
      if (columns[i].name == name) return row.at(i);
    return std::string("(no column)");
  };
  EXPECT_EQ(column("currentCode"), "21");
  EXPECT_EQ(column("checkSpeed"), "998");
  EXPECT_EQ(column("patternState"), "3");
  EXPECT_EQ(column("patternTarget"), "10");
  EXPECT_EQ(column("autoService"), "1");
  EXPECT_EQ(column("autoEmergency"), "0");
  EXPECT_EQ(column("noticeText"), "0ATS のブレーキが動作しています");
  EXPECT_EQ(column("vigilanceTicks"), "612");
  EXPECT_EQ(column("teimokuM_y"), "-100");
  EXPECT_EQ(column("remain_pattern"), "2");
  EXPECT_EQ(column("remain_y"), "-600");
  EXPECT_EQ(column("limit_pattern"), "");  // hidden (blinking)
  EXPECT_EQ(column("slope_pattern"), "");  // no such picture
  EXPECT_EQ(column("signal_pattern"), "21");
  EXPECT_EQ(column("cross_pattern"), "1");
  EXPECT_EQ(column("trafficlight_pattern"), "");
}

}  // namespace
}  // namespace kestrel::run
