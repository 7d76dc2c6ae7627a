// The whole load of a cab session on the fixture content folder.
#include <gtest/gtest.h>

#include <fstream>

#include "core/data/settings_loader.h"
#include "core/front/session_loader.h"
#include "core/ports/memory_preference_store.h"
#include "core/util/fatal_error.h"
#include "support/cp932_files.h"
#include "support/fake_picture_loader.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

SessionChoice fixtureChoice(const fs::path& dir) {
  return {dir, "line_local.dat", "", "train_313-1000_10cars.dat"};
}

fs::path fixtureCopy(const std::string& name) {
  fs::path dir = test::scratchDir(name);
  fs::copy(test::sourceDir() / "tests" / "fixtures" / "content", dir, fs::copy_options::recursive);
  return dir;
}

TEST(SessionLoader, StatusTextsAndStagesRunInTheCabWindowsOrder) {
  MemoryPreferenceStore store;
  test::FakePictureLoader pictures;
  std::vector<std::string> log;
  auto stage = [&](const char* name) { return [&log, name](LoadedSession&) { log.push_back(name); }; };
  SessionStages stages{stage("movie"), stage("running"), stage("environment"), stage("callout"), stage("sounds"),
                       [&](LoadedSession& s) {
                         // The set-up of the run sees the converted distances.
                         log.push_back("setup " + std::to_string(static_cast<int>(s.line.Station[1].stopDistanceCm)));
                       }};
  LoadedSession s = loadSession(fixtureChoice(test::sourceDir() / "tests/fixtures/content"), {store, pictures},
                                [&](std::string_view text) { log.emplace_back(text); }, stages);
  EXPECT_EQ(log, (std::vector<std::string>{
                     "設定ファイルを読み込んでいます", "運転台を描画しています", "movie",
                     "DirectSoundオブジェクトを作成しています(走行音)", "running",
                     "DirectSoundオブジェクトを作成しています(環境音)", "environment",
                     "DirectSoundオブジェクトを作成しています(喚呼)", "callout", "サウンドを読み込んでいます",
                     "sounds", "環境をセットアップしています", "setup 159875"}));
  EXPECT_EQ(s.settings.mascon.size(), 23u);
  EXPECT_EQ(s.settings.InfoLabel[0], "①番線に到着します");
  EXPECT_EQ(s.vehicle.Sound_EB, (std::array<int32_t, 2>{3, 0}));
  EXPECT_EQ(s.line.LineName, "試験線～各駅停車");
  EXPECT_EQ(s.line.soundLengths, (std::vector<int32_t>{3, 1, 1}));
  EXPECT_TRUE(s.line.Monitor.loaded);
  EXPECT_TRUE(s.warnings.empty());
  EXPECT_NE(s.pictures.find("img_unten_teimoku"), nullptr);  // "Image\Sign\Teimoku.BMP" in the file
  EXPECT_NE(s.pictures.find("img_lamp_b"), nullptr);
}

TEST(SessionLoader, PreferencesComeFromTheStoreOrStayAsTheyWere) {
  test::FakePictureLoader pictures;
  fs::path dir = test::sourceDir() / "tests/fixtures/content";
  MemoryPreferenceStore store;
  for (auto [name, value] : {std::pair{"Kanko", 1}, {"Information", 0}, {"ATS", 1}, {"Tunnel", 0}, {"Moji", 1}})
    store.set(kPreferenceKeyPath, name, value);
  store.set(kControllerKeyPath, "P0", 42);
  LoadedSession a = loadSession(fixtureChoice(dir), {store, pictures}, nullptr);
  EXPECT_EQ(a.settings.preferences.AtsOff, 1);
  EXPECT_EQ(a.settings.preferences.NoCommentary, 0);
  EXPECT_EQ(a.settings.controller.P[0], 42);

  MemoryPreferenceStore broken;
  broken.failOpen(kPreferenceKeyPath);
  SessionCarryOver previous{a.settings.preferences, a.settings.controller};
  LoadedSession b = loadSession(fixtureChoice(dir), {broken, pictures}, nullptr, {}, previous);
  EXPECT_EQ(b.settings.preferences.TextMode, 1);
  EXPECT_EQ(b.settings.controller.P[0], 42);  // nothing stored under dgcontroller: kept
}

TEST(SessionLoader, FaultsEndTheLoadWithTheirMessages) {
  fs::path dir = fixtureCopy("session_faults");
  MemoryPreferenceStore store;
  test::FakePictureLoader pictures;
  auto messageOf = [&](const SessionChoice& choice) {
    try {
      loadSession(choice, {store, pictures}, nullptr);
    } catch (const FatalError& e) {
      return e.message();
    }
    return std::string("loaded");
  };
  // A notched brake with two positions.
  test::writeCp932File(dir / "cars" / "short_brake.dat", "[BrakeType]\n1\n[Brake]\n2\n");
  EXPECT_EQ(messageOf({dir, "line_local.dat", "cars", "short_brake.dat"}), "ブレーキの段数を3段以上に設定してください");
  EXPECT_EQ(messageOf({dir, "line_none.dat", "", "train_313-1000_10cars.dat"}), "路線ファイルに誤りがあります。その他:");
  pictures.setMissing("staf_local.jpg");
  EXPECT_EQ(messageOf(fixtureChoice(dir)), "image\\staf\\staf_local.jpgが見つかりません");
  fs::remove(dir / "mascon.dat");
  EXPECT_EQ(messageOf(fixtureChoice(dir)), "mascon.datを開けません");
}

TEST(SessionLoader, EachDriveStartsFromClearedRecordsAndWarnsAboutUnreadableSounds) {
  fs::path dir = fixtureCopy("session_cleared");
  MemoryPreferenceStore store;
  test::FakePictureLoader pictures;
  LoadedSession first = loadSession(fixtureChoice(dir), {store, pictures}, nullptr);
  ASSERT_FALSE(first.vehicle.Notch.empty());
  // A second train without [Notch] or sounds: nothing of the first one is left over.
  test::writeCp932File(dir / "plain.dat", "[Engine_Type]\n1\n[Brake]\n4\n");
  fs::remove(dir / "sound" / "line" / "depart_a.wav");
  LoadedSession second = loadSession({dir, "line_local.dat", "", "plain.dat"}, {store, pictures}, nullptr);
  EXPECT_TRUE(second.vehicle.Notch.empty());
  EXPECT_TRUE(second.vehicle.Sound_BK.empty());
  EXPECT_EQ(second.pictures.find("img_Panel"), nullptr);
  EXPECT_FALSE(second.line.Monitor.loaded);  // [Monitor] names the other train
  EXPECT_EQ(second.line.soundLengths, (std::vector<int32_t>{3, 0, 1}));
  ASSERT_EQ(second.warnings.size(), 1u);
  EXPECT_NE(second.warnings[0].find("depart_a.wav"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
