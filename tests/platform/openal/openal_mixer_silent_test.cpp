// The channel operations on the silent device, whose time is the test's own clock: the play
// states below are OpenAL Soft's own, mixed sample by sample as the clock moves on.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "core/util/fatal_error.h"
#include "openal_test_support.h"
#include "platform/openal/openal_mixer.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;

class SilentMixerTest : public ::testing::Test {
 protected:
  OpenAlMixer::Options silentOptions() {
    OpenAlMixer::Options options;
    options.output = OpenAlMixer::Output::kSilent;
    options.clock = [this] { return now_; };
    return options;
  }
  // Plays `channel` once and returns how long it played, in whole milliseconds (at most `limit`).
  std::chrono::milliseconds playTime(int channel, std::chrono::milliseconds limit = 100s) {
    mixer_.playOnce(channel);
    auto played = 0ms;
    while (mixer_.isPlaying(channel) && played < limit) {
      now_ += 1ms;
      played += 1ms;
    }
    return played;
  }
  WaveId load(const std::string& name, double seconds, int rate = 8000) {
    return mixer_.loadWave(test::toneFile(dir_, name, seconds, rate));
  }

  std::filesystem::path dir_ = test::testScratchDir("openal_silent");
  std::chrono::nanoseconds now_ = 1000s;
  OpenAlMixer mixer_{silentOptions()};
};

TEST_F(SilentMixerTest, OpensEveryChannelWithoutWarning) {
  EXPECT_TRUE(mixer_.silent());
  EXPECT_EQ(mixer_.openChannels(), Mixer::kChannelCount);
  EXPECT_EQ(mixer_.takeWarning(), std::nullopt);
  EXPECT_EQ(mixer_.outputLatency(), std::nullopt);
}

TEST_F(SilentMixerTest, PlayOnceTakesTheWavesDuration) {
  const WaveId wave = load("one.wav", 1.0);
  mixer_.setWave(0, wave);
  mixer_.setWave(Mixer::kChannelCount - 1, wave);
  EXPECT_TRUE(mixer_.hasWave(0));
  EXPECT_FALSE(mixer_.isPlaying(0));
  EXPECT_NEAR(playTime(0).count(), 1000, 2);
  EXPECT_FALSE(mixer_.isLooping(0));
  EXPECT_NEAR(playTime(Mixer::kChannelCount - 1).count(), 1000, 2);
  // Played again, it starts over.
  EXPECT_NEAR(playTime(0).count(), 1000, 2);
}

TEST_F(SilentMixerTest, FrequencyRatioChangesThePlayingTime) {
  const WaveId wave = load("one.wav", 1.0, 44100);
  mixer_.setWave(3, wave);
  mixer_.setFrequencyRatio(3, 0.5);
  EXPECT_NEAR(playTime(3).count(), 2000, 3);
  mixer_.setFrequencyRatio(3, 2.0);
  EXPECT_NEAR(playTime(3).count(), 500, 2);
  // A NaN ratio is ignored.
  mixer_.setFrequencyRatio(3, std::nan(""));
  EXPECT_NEAR(playTime(3).count(), 500, 2);
  // The rate is held within 100 Hz .. 200 kHz: 441 s at the bottom, a 4.5th at the top.
  mixer_.setFrequencyRatio(3, 1e9);
  EXPECT_NEAR(playTime(3).count(), 1000 * 44100 / 200000, 2);
  mixer_.setFrequencyRatio(3, 0.0);
  mixer_.playOnce(3);
  for (int i = 0; i < 430; ++i, now_ += 1s) ASSERT_TRUE(mixer_.isPlaying(3)) << i;
  now_ += 20s;  // OpenAL's step of 1/4096 sample is coarse down there: 99.6 Hz
  EXPECT_FALSE(mixer_.isPlaying(3));

  // The ratio stays with the channel and applies to the rate of the next wave set on it.
  mixer_.setFrequencyRatio(3, 0.5);
  mixer_.setWave(3, load("short.wav", 0.25, 8000));
  EXPECT_NEAR(playTime(3).count(), 500, 2);
}

TEST_F(SilentMixerTest, LoopedPlaysOnUntilStopped) {
  mixer_.setWave(7, load("loop.wav", 0.1));
  mixer_.playLooped(7);
  now_ += 5s;
  EXPECT_TRUE(mixer_.isPlaying(7));
  EXPECT_TRUE(mixer_.isLooping(7));
  mixer_.stop(7);
  EXPECT_FALSE(mixer_.isPlaying(7));
  EXPECT_TRUE(mixer_.isLooping(7)) << "the last play was looped";
  mixer_.playOnce(7);
  EXPECT_FALSE(mixer_.isLooping(7));
  now_ += 150ms;
  EXPECT_FALSE(mixer_.isPlaying(7));
}

TEST_F(SilentMixerTest, StopPausesAndTheNextPlayStartsFromTheBeginning) {
  mixer_.setWave(1, load("one.wav", 1.0));
  mixer_.playOnce(1);
  now_ += 600ms;
  mixer_.stop(1);
  now_ += 5s;
  EXPECT_FALSE(mixer_.isPlaying(1));
  // Resumed, it would end after 400 ms; rewound, it plays the whole second.
  EXPECT_NEAR(playTime(1).count(), 1000, 2);

  // Stopping a channel that does not play changes nothing.
  mixer_.stop(1);
  EXPECT_FALSE(mixer_.isPlaying(1));
}

TEST_F(SilentMixerTest, SettingAWaveStopsTheChannel) {
  const WaveId longWave = load("long.wav", 2.0);
  mixer_.setWave(2, longWave);
  mixer_.playLooped(2);
  now_ += 300ms;
  mixer_.setWave(2, load("short.wav", 0.2));
  EXPECT_FALSE(mixer_.isPlaying(2));
  EXPECT_FALSE(mixer_.isLooping(2));
  EXPECT_NEAR(playTime(2).count(), 200, 2);
  // Any id that names no loaded wave leaves the channel without data.
  mixer_.setWave(2, 12345);
  EXPECT_FALSE(mixer_.hasWave(2));
  mixer_.setWave(2, longWave);
  EXPECT_TRUE(mixer_.hasWave(2));
  mixer_.setWave(2, kNoWave);
  EXPECT_FALSE(mixer_.hasWave(2));
}

TEST_F(SilentMixerTest, VolumeReadsBackAsSet) {
  mixer_.setWave(5, load("one.wav", 1.0));
  EXPECT_EQ(mixer_.volume(5), 0);
  for (int v : {-2000, -1, Mixer::kSilent, -20000, 500, 0}) {
    mixer_.setVolume(5, v);
    EXPECT_EQ(mixer_.volume(5), v);
  }
  mixer_.setVolume(5, -3000);
  mixer_.setWave(5, load("two.wav", 1.0));
  EXPECT_EQ(mixer_.volume(5), -3000) << "the volume stays with the channel";
}

TEST_F(SilentMixerTest, ChannelsOutsideTheRangeOrWithoutDataDoNothing) {
  const WaveId wave = load("one.wav", 0.5);
  for (int channel : {-1, Mixer::kChannelCount, 400, 4}) {
    SCOPED_TRACE(channel);
    if (channel != 4) mixer_.setWave(channel, wave);
    mixer_.playOnce(channel);
    mixer_.playLooped(channel);
    mixer_.setFrequencyRatio(channel, 2.0);
    mixer_.setVolume(channel, -500);
    mixer_.stop(channel);
    EXPECT_FALSE(mixer_.hasWave(channel));
    EXPECT_FALSE(mixer_.isPlaying(channel));
    EXPECT_FALSE(mixer_.isLooping(channel));
    EXPECT_EQ(mixer_.volume(channel), 0);
  }
  // Channel 4 got nothing from the operations above.
  mixer_.setWave(4, wave);
  EXPECT_EQ(mixer_.volume(4), 0);
  EXPECT_NEAR(playTime(4).count(), 500, 2);
}

TEST_F(SilentMixerTest, FreeAllWavesDetachesThem) {
  const WaveId first = load("one.wav", 1.0);
  mixer_.setWave(0, first);
  mixer_.setWave(1, first);
  mixer_.playLooped(0);
  mixer_.freeAllWaves();
  EXPECT_FALSE(mixer_.hasWave(0));
  EXPECT_FALSE(mixer_.hasWave(1));
  EXPECT_FALSE(mixer_.isPlaying(0));
  mixer_.setWave(0, first);
  EXPECT_FALSE(mixer_.hasWave(0)) << "a freed wave is gone";
  const WaveId again = load("one.wav", 0.5);
  EXPECT_NE(again, first) << "ids are not reused";
  mixer_.setWave(0, again);
  EXPECT_NEAR(playTime(0).count(), 500, 2);
}

TEST_F(SilentMixerTest, ReinitialiseStartsAfresh) {
  const WaveId wave = load("one.wav", 1.0);
  mixer_.setWave(9, wave);
  mixer_.setVolume(9, -1500);
  mixer_.playLooped(9);
  ASSERT_TRUE(mixer_.reinitialise());
  EXPECT_EQ(mixer_.takeWarning(), std::nullopt);
  EXPECT_EQ(mixer_.openChannels(), Mixer::kChannelCount);
  EXPECT_FALSE(mixer_.hasWave(9));
  EXPECT_FALSE(mixer_.isPlaying(9));
  mixer_.setWave(9, wave);
  EXPECT_FALSE(mixer_.hasWave(9)) << "waves went with the old device";
  mixer_.setWave(9, load("two.wav", 0.3));
  EXPECT_EQ(mixer_.volume(9), 0);
  EXPECT_NEAR(playTime(9).count(), 300, 2);
}

TEST_F(SilentMixerTest, LongPausesAreSkippedOrMixedAsNeeded) {
  mixer_.setWave(0, load("one.wav", 1.0));
  mixer_.setWave(1, load("loop.wav", 0.1));
  // Nothing plays through a day: nothing to mix, and the clock is still followed afterwards.
  now_ += 24h;
  EXPECT_NEAR(playTime(0).count(), 1000, 2);
  // A sound that plays through a stall ends in it; a looped one goes on.
  mixer_.playOnce(0);
  mixer_.playLooped(1);
  now_ += 20s;
  EXPECT_FALSE(mixer_.isPlaying(0));
  EXPECT_TRUE(mixer_.isPlaying(1));
  // Of a stall of hours only the last minute is mixed.
  mixer_.playOnce(0);
  now_ += 3h;
  EXPECT_FALSE(mixer_.isPlaying(0));
  EXPECT_TRUE(mixer_.isPlaying(1));
  EXPECT_NEAR(playTime(0).count(), 1000, 2);
}

TEST_F(SilentMixerTest, UnreadableWaveThrows) {
  EXPECT_THROW(mixer_.loadWave(dir_ / "missing.wav"), FatalError);
  // The mixer goes on working.
  mixer_.setWave(0, load("one.wav", 0.2));
  EXPECT_NEAR(playTime(0).count(), 200, 2);
}

TEST_F(SilentMixerTest, EmptyWaveEndsAtOnce) {
  const auto path = dir_ / "empty.wav";
  test::writeWave16(path, 8000, 1, {});
  mixer_.setWave(0, mixer_.loadWave(path));
  EXPECT_TRUE(mixer_.hasWave(0));
  EXPECT_LE(playTime(0).count(), 2);
  // So does a wave cut short after a header that promises a second.
  const auto cut = dir_ / "cut.wav";
  test::writeWave16(cut, 8000, 1, std::vector<int16_t>(8000, 100));
  std::filesystem::resize_file(cut, 44);
  mixer_.setWave(1, mixer_.loadWave(cut));
  EXPECT_TRUE(mixer_.hasWave(1));
  EXPECT_LE(playTime(1).count(), 2);
}

}  // namespace
}  // namespace kestrel
