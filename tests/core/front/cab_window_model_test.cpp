// The cab window's life without its widgets, on the fixture content: the status texts of its
// creation in order, the start with the preferences, the menu commands, and the close in its
// order with the preferences written back.
#include "core/front/cab_window_model.h"

#include <gtest/gtest.h>

#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/util/fatal_error.h"
#include "support/fake_picture_loader.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

constexpr const char* kKey = "Software\\Railvane\\kestrel";

// A mixer whose device cannot be initialised again.
class BrokenDeviceMixer final : public Mixer {
 public:
  RecordingMixer inner;
  WaveId loadWave(const std::filesystem::path& p) override { return inner.loadWave(p); }
  void freeAllWaves() override { inner.freeAllWaves(); }
  void setWave(int c, WaveId w) override { inner.setWave(c, w); }
  bool hasWave(int c) const override { return inner.hasWave(c); }
  void playOnce(int c) override { inner.playOnce(c); }
  void playLooped(int c) override { inner.playLooped(c); }
  void stop(int c) override { inner.stop(c); }
  bool isPlaying(int c) const override { return inner.isPlaying(c); }
  bool isLooping(int c) const override { return inner.isLooping(c); }
  void setFrequencyRatio(int c, double r) override { inner.setFrequencyRatio(c, r); }
  void setVolume(int c, int v) override { inner.setVolume(c, v); }
  int volume(int c) const override { return inner.volume(c); }
  bool reinitialise() override { return false; }
};

struct CabWindowModelTest : ::testing::Test {
  MemoryPreferenceStore prefs;
  test::FakePictureLoader pictures;
  RecordingMixer mixer;
  ProgramInputState program;
  std::vector<std::string> status;

  SessionChoice choice() const {
    return {test::sourceDir() / "tests/fixtures/content", "line_local.dat", "", "train_313-1000_10cars.dat"};
  }
  std::unique_ptr<CabWindowModel> make(Mixer& m) {
    return std::make_unique<CabWindowModel>(
        choice(), CabWindowPorts{prefs, pictures, m, nullptr},
        [this](std::string_view t) { status.emplace_back(t); }, program);
  }
};

TEST_F(CabWindowModelTest, CreationShowsEveryStatusTextInOrderAndTheStartFollowsThePreferences) {
  prefs.set(kKey, "Kanko", 0);
  prefs.set(kKey, "Information", 0);
  prefs.set(kKey, "ATS", 1);
  prefs.set(kKey, "Tunnel", 0);
  prefs.set(kKey, "Moji", 1);
  auto model = make(mixer);
  EXPECT_EQ(status, (std::vector<std::string>{"Formを作成しています", "設定ファイルを読み込んでいます",
                                              "運転台を描画しています",
                                              "DirectSoundオブジェクトを作成しています(走行音)",
                                              "DirectSoundオブジェクトを作成しています(環境音)",
                                              "DirectSoundオブジェクトを作成しています(喚呼)",
                                              "サウンドを読み込んでいます", "環境をセットアップしています"}));
  EXPECT_FALSE(model->session().running());
  EXPECT_EQ(model->lineName(), "試験線～各駅停車");
  EXPECT_TRUE(model->menu().checked(CabMenuItem::StopLinesHidden));
  EXPECT_TRUE(model->menu().checked(CabMenuItem::TextMode));
  EXPECT_FALSE(model->menu().checked(CabMenuItem::NoCommentary));

  model->start();
  EXPECT_TRUE(model->session().running());
  EXPECT_FALSE(model->session().train().AtsEnabled);
  EXPECT_EQ(model->session().startCaption(), "一時停止(&S)");
  model->session().start1Click();
  EXPECT_EQ(model->session().startCaption(), "運転再開(&S)");
  EXPECT_FALSE(model->session().running());
}

TEST_F(CabWindowModelTest, AMissingVehicleFileEndsTheCreationWithTheLoadersMessage) {
  SessionChoice c = choice();
  c.vehicleFileName = "no_such_train.dat";
  try {
    CabWindowModel model(c, CabWindowPorts{prefs, pictures, mixer, nullptr}, nullptr, program);
    FAIL() << "no error";
  } catch (const FatalError& e) {
    EXPECT_EQ(e.message(), "車両ファイルに誤りがあります- 列車の基本設定");
  }
}

TEST_F(CabWindowModelTest, ClosingFreesTheSoundThenWritesThePreferencesTheMenusChanged) {
  auto model = make(mixer);
  model->start();
  model->session().scheduler().advanceBy(1000000);
  EXPECT_TRUE(model->toggle(CabMenuItem::CalloutsOff));
  EXPECT_TRUE(model->toggle(CabMenuItem::TextMode));
  model->session().context().train.FadeLevel = 40;
  mixer.clearOperations();

  ASSERT_TRUE(model->close());
  EXPECT_FALSE(model->session().running());
  EXPECT_EQ(model->session().train().FadeLevel, 0);
  EXPECT_EQ(prefs.get(kKey, "Kanko"), MemoryPreferenceStore::Value(1));
  EXPECT_EQ(prefs.get(kKey, "Information"), MemoryPreferenceStore::Value(1));
  EXPECT_EQ(prefs.get(kKey, "Moji"), MemoryPreferenceStore::Value(1));
  ASSERT_GE(mixer.operations().size(), 2u);
  EXPECT_EQ(mixer.operations()[mixer.operations().size() - 2].op, RecordingMixer::Op::FreeAllWaves);
  EXPECT_EQ(mixer.operations().back().op, RecordingMixer::Op::Reinitialise);
  // The next window finds the preferences of this one.
  EXPECT_EQ(model->carryOver().preferences.CalloutsOff, 1);
}

TEST_F(CabWindowModelTest, AMixerThatCannotBeInitialisedAgainEndsTheCloseBeforeThePreferences) {
  BrokenDeviceMixer broken;
  auto model = make(broken);
  model->start();
  model->toggle(CabMenuItem::CalloutsOff);
  EXPECT_FALSE(model->close());
  EXPECT_EQ(prefs.get(kKey, "Kanko"), std::nullopt);
}

TEST_F(CabWindowModelTest, SaveAndRestoreThroughTheMenuOnTheSameLine) {
  auto model = make(mixer);
  model->start();
  EXPECT_FALSE(model->openSaveMenu()->restore[0].enabled);
  model->session().scheduler().advanceBy(2000000);
  EXPECT_EQ(model->save(1), "運転状態を保存しました");
  const auto menu = model->openSaveMenu();
  EXPECT_TRUE(menu->restore[0].enabled);
  EXPECT_NE(menu->restore[0].caption, "No Data");
  const int32_t clock = model->session().train().TickCounter;
  model->session().scheduler().advanceBy(5000000);
  EXPECT_EQ(model->restore(1), std::nullopt);
  EXPECT_EQ(model->session().train().TickCounter, clock);
  EXPECT_EQ(model->restore(2), "運転状態が保存されていません");
  prefs.failOpen(kKey);
  EXPECT_EQ(model->openSaveMenu(), std::nullopt);
}

}  // namespace
}  // namespace kestrel
