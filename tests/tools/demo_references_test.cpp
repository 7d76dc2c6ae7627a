// Numbers in the quick demo's data files that point into other tables: a number past the end of
// its table loads without complaint and then plays no sound, shows no picture or reads the next
// key's lines as values.
#include <gtest/gtest.h>

#include <string>

#include "tools/demo_files.h"

namespace kestrel::test {
namespace {

int count(const std::vector<std::string>& v) {
  return static_cast<int>(v.size());
}

TEST(QuickDemoReferences, VehicleSoundNumbersAndCountedListsFit) {
  for (const char* file :
       {"train_313-1000_8cars.dat", "train_313-1000_10cars.dat", "train_383.dat", "train_kiha25.dat"}) {
    SCOPED_TRACE(file);
    const auto v = DataLines::read(quickDemo() / file);
    const int sounds = count(v.table("[DriveSound]"));
    ASSERT_GT(sounds, 20);
    const int brakes = std::stoi(v.values("[Brake]", 1).at(0));
    const int power = std::stoi(v.values("[Power]", 1).at(0));
    // The counted lists take exactly [Brake] and [Power] lines; the next line must be a key.
    const std::vector<std::pair<std::string, int>> lists = {{"[Sound_BK]", brakes},
                                                            {"[Sound_BR]", brakes},
                                                            {"[Sound_BA]", brakes + 1},
                                                            {"[Sound_PA]", power},
                                                            {"[Sound_PR]", power}};
    for (const auto& [key, n] : lists) {
      const auto vals = v.values(key, n + 1);
      ASSERT_EQ(count(vals), n + 1) << key;
      for (int i = 0; i < n; ++i) EXPECT_LT(std::stoi(vals[static_cast<size_t>(i)]), sounds) << key;
      EXPECT_EQ(vals.back().substr(0, 1), "[") << key << " has more lines than its count";
    }
    for (const char* key :
         {"[Sound_Ats1]", "[Sound_Ats2]", "[Sound_Ats3]", "[Sound_Atc]", "[Sound_Horn]", "[Sound_Horn2]",
          "[Sound_DoorOpen]", "[Sound_DoorClose]", "[Sound_EBring]", "[Sound_squeak]", "[CP_Start]",
          "[CP_Cnt]", "[CP_End]", "[Stop]", "[Buzzer]", "[DepSign]", "[ATS_Warn]"})
      EXPECT_LT(std::stoi(v.values(key, 1).at(0)), sounds) << key;
    for (const auto& row : v.table("[SwitchSound]")) EXPECT_LT(intField(row, 1), sounds) << row;
    // One electric train model or the other, never the diesel's tables (the loader refuses them).
    const bool diesel = v.values("[Engine_Type]", 1).at(0) == "0";
    EXPECT_EQ(v.has("[Notch]"), !diesel);
    EXPECT_EQ(v.has("[Engine]"), diesel);
    if (!diesel) {
      EXPECT_EQ(count(v.table("[Notch]")), power * 6) << "six value lines per notch";
    }
    if (diesel) {
      EXPECT_EQ(count(v.table("[Engine]")), count(v.table("[EngineRate]")) * 6)
          << "one [Engine] row per gear";
      EXPECT_EQ(v.values("[Gear_Type]", 1).at(0), "MT");
      EXPECT_EQ(v.values("[BrakeType]", 1).at(0), "0");
    }
    if (v.values("[Power_Type]", 1).at(0) == "0" && !diesel) {
      const auto rows = v.table("[CurrentP]");
      ASSERT_GT(count(rows), 3);
      for (size_t i = 3; i < rows.size(); ++i) {
        EXPECT_EQ(fields(rows[i]).size(), 4u) << rows[i];
        EXPECT_LE(intField(rows[i], 1), power) << rows[i];
      }
    }
    EXPECT_EQ(count(v.table("[EngineSound1]")) % 11, 0) << "eleven value lines per motor sound";
  }
}

TEST(QuickDemoReferences, LineNumbersPointIntoTheirTables) {
  for (const char* file : {"line_exp.dat", "line_rapid.dat", "line_local.dat"}) {
    SCOPED_TRACE(file);
    const auto l = DataLines::read(quickDemo() / file);
    const int sounds = count(l.table("[SoundData]"));
    const int stations = count(l.table("[Station]"));
    const int signals = count(l.table("[Signal]"));
    for (const auto& st : l.table("[Station]")) {
      EXPECT_LT(intField(st, 5), sounds) << st;
      EXPECT_LT(intField(st, 6), sounds) << st;
    }
    for (const auto& row : l.table("[Sound]"))
      if (row[0] != ';') {
        EXPECT_LT(intField(row, 1), sounds) << row;
      }
    for (const auto& row : l.table("[Doppler]")) EXPECT_LT(intField(row, 1), sounds) << row;
    for (const auto& row : l.table("[MovieSwitch]"))
      if (intField(row, 1) == 2) {
        EXPECT_LT(intField(row, 9), sounds) << row;
      }
    if (l.has("[Announce]")) {
      EXPECT_LT(std::stoi(l.values("[Announce]", 1).at(0)), sounds);
      for (const auto& row : l.table("[Announce]"))
        if (fields(row).size() == 4) {
          EXPECT_LT(intField(row, 1), sounds) << row;
          EXPECT_LT(intField(row, 3), stations) << row;
        }
    }
    // 22 fixed call-outs, then the next key.
    const auto kanko = l.values("[KankoSound1]", 23);
    EXPECT_EQ(kanko.back(), "[KankoSound2]");
    const int clips = 22 + count(l.table("[KankoSound2]"));
    for (const auto& row : l.table("[Cross]")) {
      EXPECT_LT(intField(row, 3), count(l.table("[CrossImageList]"))) << row;
      EXPECT_LT(intField(row, 4), clips) << row;
    }
    for (const auto& row : l.table("[SignalKanko]")) EXPECT_LT(intField(row, 1), signals) << row;
    for (const auto& row : l.table("[StationKanko]")) {
      EXPECT_LT(intField(row, 1), stations) << row;
      if (intField(row, 3) <= 998) {
        EXPECT_LT(intField(row, 3), clips) << row;
      }
    }
    for (const auto& row : l.table("[Signal]")) EXPECT_LT(intField(row, 11), stations) << row;
    const int lights = count(l.table("[TrafficSignalImageList]"));
    for (const auto& row : l.table("[TrafficSignal]"))
      for (int phase = 0; phase < 6; ++phase) EXPECT_LT(intField(row, 4 + 3 * phase), lights) << row;
    // An animation runs through 14 pictures from its first.
    const int animPictures = count(l.table("[AnimImageList]"));
    for (const auto& row : l.table("[Anim]")) EXPECT_LE(intField(row, 4) + 14, animPictures) << row;
    const auto pre = l.table("[Pre_Train]");
    for (size_t i = 1; i < pre.size(); ++i) EXPECT_LT(intField(pre[i], 1), stations) << pre[i];
  }
}

TEST(QuickDemoReferences, SettingsFilesHaveTheirLines) {
  const auto rv = DataLines::read(quickDemo() / "railvane.dat");
  const auto disp = rv.values("[Disp]", 5);
  ASSERT_EQ(fields(disp.at(0)).size(), 2u) << "[Disp] line 1 holds the tick rate and the frame factor";
  EXPECT_EQ(disp.at(2), "800");
  EXPECT_EQ(disp.at(3), "600");
  EXPECT_GE(count(rv.table("[InfoLabel]")), 21) << "the notices use lines 8 to 21";
  const auto mascon = DataLines::read(quickDemo() / "mascon.dat").lines;
  int commands = 0;
  while (commands < count(mascon) && mascon[static_cast<size_t>(commands)][0] != '#') {
    EXPECT_EQ(mascon[static_cast<size_t>(commands)].size(), 5u) << "commands are matched on five characters";
    ++commands;
  }
  EXPECT_EQ(commands, 23);
  const auto help = DataLines::read(quickDemo() / "operation.dat").lines;
  ASSERT_GT(help.size(), 10u);
  EXPECT_EQ(help.front(), "操作説明");
}

}  // namespace
}  // namespace kestrel::test
