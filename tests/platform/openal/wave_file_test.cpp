#include "platform/openal/wave_file.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>

#include "core/util/fatal_error.h"
#include "openal_test_support.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

using test::writeWave;
using test::writeWave16;

class WaveFileTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ = test::testScratchDir("wave_file");
};

TEST_F(WaveFileTest, SixteenBitMonoIsTakenAsItIs) {
  const auto path = dir_ / "mono16.wav";
  writeWave16(path, 22050, 1, {0, 16384, -32768, 32767, 1000, -1});
  const MonoWave wave = readMonoWave(path);
  EXPECT_EQ(wave.sampleRate, 22050);
  EXPECT_EQ(wave.samples, (std::vector<int16_t>{0, 16384, -32768, 32767, 1000, -1}));
}

TEST_F(WaveFileTest, OtherDepthsBecomeSixteenBits) {
  const auto u8 = dir_ / "u8.wav";
  writeWave(u8, 11025, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, {0.5f, -0.5f, -1.0f});  // the writer scales by 127
  EXPECT_EQ(readMonoWave(u8).samples, (std::vector<int16_t>{16384, -16384, -32512}));

  const auto s24 = dir_ / "s24.wav";
  writeWave(s24, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_24, {0.25f, -0.25f});
  EXPECT_EQ(readMonoWave(s24).samples, (std::vector<int16_t>{8192, -8192}));

  // Floating-point data may exceed full scale; it clips instead of wrapping round.
  const auto f32 = dir_ / "f32.wav";
  writeWave(f32, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT, {0.5f, 1.5f, -3.0f});
  const auto clipped = readMonoWave(f32).samples;
  ASSERT_EQ(clipped.size(), 3u);
  EXPECT_EQ(clipped, (std::vector<int16_t>{16384, 32767, -32768}));
}

TEST_F(WaveFileTest, CompressedWaveIsDecoded) {
  const auto path = dir_ / "adpcm.wav";
  const auto tone = test::sine(440, 22050, 0.5, 0.5);
  writeWave(path, 22050, 1, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, tone);
  const MonoWave wave = readMonoWave(path);
  EXPECT_EQ(wave.sampleRate, 22050);
  ASSERT_GE(wave.samples.size(), tone.size());
  int peak = 0;
  for (int16_t s : wave.samples) peak = std::max(peak, std::abs(int{s}));
  EXPECT_NEAR(peak, 16384, 800);
}

TEST_F(WaveFileTest, ChannelsAreMixedDownToTheirMean) {
  const auto stereo = dir_ / "stereo.wav";
  writeWave16(stereo, 44100, 2, {16384, 0, 16384, -16384, -32768, -32768, 1001, 1000});
  const MonoWave wave = readMonoWave(stereo);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_EQ(wave.samples, (std::vector<int16_t>{8192, 0, -32768, 1000}));

  const auto quad = dir_ / "quad.wav";
  writeWave16(quad, 8000, 4, {16384, 16384, 16384, -16384});
  EXPECT_EQ(readMonoWave(quad).samples, (std::vector<int16_t>{8192}));
}

TEST_F(WaveFileTest, LongerThanOneChunk) {
  const auto path = dir_ / "long.wav";
  std::vector<int16_t> ramp(10000);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(i);
  writeWave16(path, 8000, 1, ramp);
  const auto samples = readMonoWave(path).samples;
  ASSERT_EQ(samples.size(), ramp.size());
  for (size_t i = 0; i < samples.size(); i += 997) EXPECT_EQ(samples[i], static_cast<int16_t>(i));
}

TEST_F(WaveFileTest, EmptyWaveHasNoSamples) {
  const auto path = dir_ / "empty.wav";
  writeWave(path, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {});
  const MonoWave wave = readMonoWave(path);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_TRUE(wave.samples.empty());
}

// A wave cut short after its header, or within its data, is read as far as it goes: its header's
// length is not taken on trust and nothing fails.
TEST_F(WaveFileTest, AWaveCutShortHoldsTheSamplesItHas) {
  const auto whole = dir_ / "whole.wav";
  writeWave16(whole, 8000, 1, std::vector<int16_t>(8000, 1000));
  const std::string bytes = test::slurp(whole);
  ASSERT_EQ(bytes.size(), 44u + 16000u);
  for (const auto& [kept, samples] : {std::pair{44, 0}, {44 + 3001, 1500}}) {
    const auto cut = dir_ / ("cut" + std::to_string(kept) + ".wav");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, static_cast<size_t>(kept));
    const MonoWave wave = readMonoWave(cut);
    EXPECT_EQ(wave.sampleRate, 8000);
    EXPECT_EQ(wave.samples, std::vector<int16_t>(static_cast<size_t>(samples), 1000)) << kept;
  }
}

// The message is libsndfile's own, as it reports the same file.
std::string libraryMessage(const std::filesystem::path& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file) {
    sf_close(file);
    return "(opened)";
  }
  return sf_strerror(nullptr);
}

TEST_F(WaveFileTest, UnreadableFileThrowsTheLibrarysMessage) {
  const auto missing = dir_ / "missing.wav";
  const auto corrupt = dir_ / "corrupt.wav";
  std::ofstream(corrupt) << "RIFF\x10\0\0\0WAVEfmt garbage, not a wave at all";
  const auto truncated = dir_ / "truncated.wav";
  std::ofstream(truncated) << "RIFF";
  for (const auto& path : {missing, corrupt, truncated}) {
    SCOPED_TRACE(path.filename().string());
    const std::string expected = libraryMessage(path);
    ASSERT_NE(expected, "(opened)");
    try {
      readMonoWave(path);
      ADD_FAILURE() << "no error";
    } catch (const FatalError& e) {
      EXPECT_EQ(e.message(), expected);
      EXPECT_FALSE(e.message().empty());
    }
  }
}

}  // namespace
}  // namespace kestrel
