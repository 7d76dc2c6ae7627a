#include <gtest/gtest.h>

#include "core/data/settings_loader.h"
#include "core/ports/memory_preference_store.h"
#include "core/util/fatal_error.h"
#include "support/cp932_files.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

std::vector<int32_t> values(const Preferences& p) {
  return {p.CalloutsOff, p.NoCommentary, p.AtsOff, p.VisualEffectsOff, p.TextMode};
}

TEST(Preferences, FirstStartTakesTheDefaultsAndCreatesTheKey) {
  MemoryPreferenceStore store;
  Preferences p{1, 0, 1, 1, 1};
  readPreferences(store, p);
  EXPECT_EQ(values(p), (std::vector<int32_t>{0, 1, 0, 0, 0}));
  EXPECT_TRUE(store.hasKey(kPreferenceKeyPath));
}

TEST(Preferences, AnyFailedReadGivesAllFiveDefaults) {
  MemoryPreferenceStore store;
  store.set(kPreferenceKeyPath, "Kanko", 1);
  store.set(kPreferenceKeyPath, "Information", 0);
  Preferences p;
  readPreferences(store, p);
  EXPECT_EQ(values(p), (std::vector<int32_t>{0, 1, 0, 0, 0}));

  for (auto [name, value] : {std::pair{"ATS", 1}, {"Tunnel", 1}, {"Moji", 2}}) store.set(kPreferenceKeyPath, name, value);
  readPreferences(store, p);
  EXPECT_EQ(values(p), (std::vector<int32_t>{1, 0, 1, 1, 2}));

  store.set(kPreferenceKeyPath, "Tunnel", std::string("1"));  // of the other type
  readPreferences(store, p);
  EXPECT_EQ(values(p), (std::vector<int32_t>{0, 1, 0, 0, 0}));
}

TEST(Preferences, UnopenableKeyLeavesTheValuesAndWritesGoBack) {
  MemoryPreferenceStore store;
  store.failOpen(kPreferenceKeyPath);
  Preferences p{1, 0, 1, 0, 1};
  readPreferences(store, p);
  EXPECT_EQ(values(p), (std::vector<int32_t>{1, 0, 1, 0, 1}));

  MemoryPreferenceStore other;
  writePreferences(other, p);
  Preferences back;
  readPreferences(other, back);
  EXPECT_EQ(values(back), values(p));
  other.failWrites(true);
  writePreferences(other, Preferences{});  // ignored
  EXPECT_EQ(std::get<int32_t>(*other.get(kPreferenceKeyPath, "Kanko")), 1);
}

TEST(ControllerCodes, AFailedReadStopsTheSequenceKeepingWhatWasRead) {
  MemoryPreferenceStore store;
  for (int i = 0; i < 6; ++i) store.set(kControllerKeyPath, "P" + std::to_string(i), 10 + i);
  store.set(kControllerKeyPath, "B0", 20);
  store.set(kControllerKeyPath, "B2", 22);  // B1 is missing: B2 and EB are not read
  store.set(kControllerKeyPath, "EB", 99);
  ControllerCodes codes;
  codes.B[2] = 7;
  readControllerCodes(store, codes);
  EXPECT_EQ(codes.P, (std::array<int32_t, 6>{10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(codes.B[0], 20);
  EXPECT_EQ(codes.B[2], 7);
  EXPECT_EQ(codes.EB, 0);
}

TEST(Mascon, LinesUpToAHashLine) {
  auto dir = test::scratchDir("mascon");
  test::writeCp932File(dir / "mascon.dat", "TSA45\nTSA55\n TSA65 \n#\nTSA75\n");
  EXPECT_EQ(loadMascon(dir / "mascon.dat"), (std::vector<std::string>{"TSA45", "TSA55", " TSA65 "}));
  // A missing file, and a directory named as the file, are the same fault.
  for (const char* name : {"none.dat", "."}) {
    try {
      loadMascon(dir / name);
      ADD_FAILURE() << name;
    } catch (const FatalError& e) {
      EXPECT_EQ(e.message(), kMasconMissing);
    }
  }
  std::string long_;
  for (int i = 0; i < 27; ++i) long_ += "C" + std::to_string(i) + "\n";
  test::writeCp932File(dir / "long.dat", long_);
  EXPECT_THROW(loadMascon(dir / "long.dat"), FatalError);
  test::writeCp932File(dir / "full.dat", long_.substr(0, long_.rfind("C26")));
  EXPECT_EQ(loadMascon(dir / "full.dat").size(), 26u);
}

constexpr const char* kRailvane =
    "; 設定\n"
    "[Disp]\n30,2\n560\n800\n600\n160\n"
    "[Path]\nmovie\\\n"
    "[Forward]\n前進 \n"
    "[Stops]\n停車駅\n通過駅\n"
    "[Gears]\n中立\n変速\n直結\n"
    "[InfoLabel]\n①番線\n～\n#\n"
    "[Start]\n開始\n";

TEST(Railvane, EveryKeyIsReadInItsForm) {
  SettingsData s;
  auto r = test::readerOf(kRailvane);
  loadRailvane(r, s);
  EXPECT_EQ(s.Disp.TickRate, 30);
  EXPECT_EQ(s.Disp.MovieFrameFactor, 2);
  EXPECT_EQ(s.Disp.StafX, 560);
  EXPECT_EQ(s.Disp.DisplayWidth, 800);
  EXPECT_EQ(s.Disp.MovieHeight, 600);
  EXPECT_EQ(s.Disp.PanelHeight, 160);
  EXPECT_EQ(s.Path, "movie\\");
  EXPECT_EQ(s.Forward, "前進 ");  // the whole line, unchanged
  EXPECT_EQ(s.Stops, (std::array<std::string, 2>{"停車駅", "通過駅"}));
  EXPECT_EQ(s.Gears[2], "直結");
  EXPECT_EQ(s.InfoLabel, (std::vector<std::string>{"①番線", "～"}));
  EXPECT_EQ(s.Start, "開始");
  EXPECT_FALSE(s.Move.has_value());  // absent: the menu keeps its own caption
}

TEST(Railvane, FaultsGiveTheStringFileMessage) {
  auto dir = test::scratchDir("railvane");
  auto messageOf = [&](const std::string& text) {
    test::writeCp932File(dir / "railvane.dat", text);
    SettingsData s;
    try {
      loadRailvaneFile(dir / "railvane.dat", s);
    } catch (const FatalError& e) {
      return e.message();
    }
    return std::string("loaded");
  };
  EXPECT_EQ(messageOf("[Disp]\n30\n560\n800\n600\n160\n"), kStringFileFault);  // field 2 missing
  EXPECT_EQ(messageOf("[Disp]\n30,1\n560\n800\n600\n"), kStringFileFault);     // end of file
  EXPECT_EQ(messageOf("[Disp]\n30,1\n560 \n800\n600\n160\n"), kStringFileFault);
  EXPECT_EQ(messageOf("[Gears]\n1\n2\n"), kStringFileFault);
  EXPECT_EQ(messageOf("[InfoLabel]\n#\n"), "loaded");
  std::string labels = "[InfoLabel]\n";
  for (int i = 0; i < 101; ++i) labels += "t\n";
  EXPECT_EQ(messageOf(labels + "#\n"), kStringFileFault);
  std::filesystem::remove(dir / "railvane.dat");
  SettingsData s;
  EXPECT_THROW(loadRailvaneFile(dir / "railvane.dat", s), FatalError);
}

}  // namespace
}  // namespace kestrel
