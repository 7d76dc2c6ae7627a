// Loading the sound sets of a cab session through the session loader's sound stages, on the
// fixture content folder and a recording mixer.
#include "core/front/sound_stages.h"

#include <gtest/gtest.h>

#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/util/fatal_error.h"
#include "support/cp932_files.h"
#include "support/fake_picture_loader.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using Op = RecordingMixer::Op;

SessionChoice fixtureChoice(const fs::path& dir, const std::string& train = "train_313-1000_10cars.dat") {
  return {dir, "line_local.dat", "", train};
}

struct SoundStagesTest : ::testing::Test {
  MemoryPreferenceStore store;
  test::FakePictureLoader pictures;
  RecordingMixer mixer;

  LoadedSession load(const SessionChoice& choice, const StatusSink& status = nullptr) {
    return loadSession(choice, {store, pictures}, status, withSoundStages({}, mixer));
  }
  std::string messageOf(const SessionChoice& choice) {
    try {
      load(choice);
    } catch (const FatalError& e) {
      return e.message();
    }
    return "loaded";
  }
};

TEST_F(SoundStagesTest, SetsAreLoadedAfterTheirStatusTextsAndSetOnTheirChannels) {
  std::vector<std::string> log;  // status texts, with the number of waves loaded before each
  LoadedSession s =
      load(fixtureChoice(test::sourceDir() / "tests/fixtures/content"), [&](std::string_view text) {
        log.push_back(std::string(text) + " " + std::to_string(mixer.operationsOn(-1, Op::LoadWave).size()));
      });
  // 4 vehicle sounds, 3 environment sounds, 3 call-out clips (one [KankoSound1] line, one
  // [KankoSound2] row, one [OtherKanko] row; the other lines are empty), 1 motor sound.
  EXPECT_EQ(log,
            (std::vector<std::string>{"設定ファイルを読み込んでいます 0", "運転台を描画しています 0",
                                      "DirectSoundオブジェクトを作成しています(走行音) 0",
                                      "DirectSoundオブジェクトを作成しています(環境音) 4",
                                      "DirectSoundオブジェクトを作成しています(喚呼) 7",
                                      "サウンドを読み込んでいます 11", "環境をセットアップしています 11"}));
  ASSERT_EQ(s.sounds.loaded.size(), 11u);
  EXPECT_EQ(s.sounds.loaded[0].path.filename(), "motor.wav");

  std::vector<int> channels;
  for (const auto& op : mixer.operations())
    if (op.op == Op::SetWave) channels.push_back(op.channel);
  EXPECT_EQ(channels, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));  // vehicle, environment, motor
  for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(mixer.operationsOn(ch, Op::Stop).size(), 1u) << ch;
  EXPECT_FALSE(mixer.hasWave(8));
  // The last operations of the load stop every channel that holds a wave.
  EXPECT_EQ(mixer.operations().back().op, Op::Stop);
  EXPECT_EQ(mixer.operations().back().channel, 7);

  const CalloutClips& clips = s.sounds.clips;
  ASSERT_EQ(clips.table.size(), 23u);
  EXPECT_NE(clips.table[0], kNoWave);
  EXPECT_EQ(clips.table[1], kNoWave);  // an empty [KankoSound1] line
  EXPECT_NE(clips.table[22], kNoWave);
  EXPECT_EQ(clips.other.size(), 1u);
  EXPECT_TRUE(clips.limit.empty());
  EXPECT_GT(s.sounds.dataBytes(), 0u);
}

TEST_F(SoundStagesTest, AWaveThatCannotBeReadEndsTheLoadWithTheMixersMessage) {
  fs::path dir = test::scratchDir("sound_stages_unreadable");
  fs::copy(test::sourceDir() / "tests" / "fixtures" / "content", dir, fs::copy_options::recursive);
  test::writeCp932File(dir / "sound" / "line" / "crossing.wav", "not a wave");
  const std::string message = messageOf(fixtureChoice(dir));
  EXPECT_NE(message.find("crossing.wav"), std::string::npos) << message;
  EXPECT_NE(message, "loaded");
}

TEST_F(SoundStagesTest, SoundsThatNeedMoreChannelsThanTheMixerHasAreRefused) {
  fs::path dir = test::scratchDir("sound_stages_overflow");
  fs::copy(test::sourceDir() / "tests" / "fixtures" / "content", dir, fs::copy_options::recursive);
  // 4 + 3 + 1 + 0 sounds of the fixture, then the free channel and two call-out channels: 320
  // channels exactly fit with 309 more vehicle sounds; 310 do not.
  auto train = [&](int extra) {
    std::string text = "[Engine_Type]\n1\n[Brake]\n4\n[EngineSound1]\nsound\\train\\motor.wav\n0\n";
    for (int i = 0; i < 9; ++i) text += "1\n";
    text += "#\n[DriveSound]\n";
    for (int i = 0; i < 4 + extra; ++i) text += "\n";  // empty names load nothing
    return text + "#\n";
  };
  test::writeCp932File(dir / "fits.dat", train(309));
  EXPECT_EQ(messageOf(fixtureChoice(dir, "fits.dat")), "loaded");
  test::writeCp932File(dir / "overflow.dat", train(310));
  EXPECT_EQ(messageOf(fixtureChoice(dir, "overflow.dat")),
            "サウンドのチャンネルが足りません: 走行音 314 + 環境音 3 + モーター音 1 + エンジン音 0 + "
            "喚呼と放送 3 = "
            "321 チャンネル (上限 320)");
}

}  // namespace
}  // namespace kestrel
