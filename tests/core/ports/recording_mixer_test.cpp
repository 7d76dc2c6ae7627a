// The recording mixer: every operation with its virtual time, play state in virtual time, and
// wave durations from the WAV header.
#include "core/ports/recording_mixer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "core/util/fatal_error.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

void putLe32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A PCM wave of `dataBytes` at `byteRate`, with an extra chunk before "data" when `withList`.
std::filesystem::path writeWave(const std::filesystem::path& dir, const char* name, uint32_t byteRate,
                                uint32_t dataBytes, bool withList = false) {
  std::string s = "RIFF";
  putLe32(s, 0);
  s += "WAVEfmt ";
  putLe32(s, 16);
  s += std::string("\x01\x00\x01\x00", 4);  // PCM, mono
  putLe32(s, byteRate / 2);                 // sample rate
  putLe32(s, byteRate);
  s += std::string("\x02\x00\x10\x00", 4);
  if (withList) {
    s += "LIST";
    putLe32(s, 3);
    s += std::string("abc\0", 4);  // odd size, padded
  }
  s += "data";
  putLe32(s, dataBytes);
  s += std::string(dataBytes, '\0');
  const auto path = dir / name;
  std::ofstream(path, std::ios::binary) << s;
  return path;
}

TEST(RecordingMixer, WaveDurationComesFromTheHeader) {
  const auto dir = test::scratchDir("recording_mixer");
  EXPECT_EQ(waveDurationUs(writeWave(dir, "a.wav", 22050, 33075)), 1500000);
  EXPECT_EQ(waveDurationUs(writeWave(dir, "b.wav", 8000, 2000, true)), 250000);
  // Cut short after its header, or within its data: it lasts as long as what it holds.
  const std::string whole = test::slurp(dir / "a.wav");
  std::ofstream(dir / "cut.wav", std::ios::binary) << whole.substr(0, 44);
  EXPECT_EQ(waveDurationUs(dir / "cut.wav"), 0);
  std::ofstream(dir / "cut.wav", std::ios::binary) << whole.substr(0, 44 + 11025);
  EXPECT_EQ(waveDurationUs(dir / "cut.wav"), 500000);
  std::ofstream(dir / "bad.wav") << "not a wave";
  EXPECT_EQ(waveDurationUs(dir / "bad.wav"), std::nullopt);
  EXPECT_EQ(waveDurationUs(dir / "missing.wav"), std::nullopt);

  RecordingMixer mixer;
  EXPECT_THROW(mixer.loadWave(dir / "missing.wav"), FatalError);
  const WaveId id = mixer.loadWave(dir / "a.wav");
  mixer.setWave(3, id);
  EXPECT_TRUE(mixer.hasWave(3));
}

TEST(RecordingMixer, AOneShotPlaysForItsDurationInVirtualTimeAndALoopUntilStopped) {
  int64_t now = 1000;
  RecordingMixer mixer([&] { return now; });
  mixer.setWave(5, mixer.registerWave("horn", 2000000));
  mixer.setWave(6, mixer.registerWave("motor", 100000));
  mixer.playOnce(5);
  mixer.playLooped(6);
  now += 1999999;
  EXPECT_TRUE(mixer.isPlaying(5));
  EXPECT_FALSE(mixer.isLooping(5));
  now += 1;
  EXPECT_FALSE(mixer.isPlaying(5));
  EXPECT_TRUE(mixer.isPlaying(6));
  EXPECT_TRUE(mixer.isLooping(6));
  mixer.stop(6);
  EXPECT_FALSE(mixer.isPlaying(6));
  // A doubled frequency halves the time a one-shot takes.
  mixer.setFrequencyRatio(5, 2.0);
  mixer.playOnce(5);
  now += 1000001;
  EXPECT_FALSE(mixer.isPlaying(5));
}

TEST(RecordingMixer, RecordsEveryOperationWithItsTimeAndWhetherTheChannelHadData) {
  int64_t now = 0;
  RecordingMixer mixer([&] { return now; });
  mixer.setWave(1, mixer.registerWave("w", 500000));
  now = 33000;
  mixer.playOnce(1);
  mixer.playOnce(2);  // no wave: nothing plays, but the request is on record
  mixer.setVolume(1, -500);
  now = 66000;
  mixer.stop(1);
  ASSERT_EQ(mixer.operations().size(), 5u);
  EXPECT_EQ(mixer.operations()[1].op, Op::PlayOnce);
  EXPECT_EQ(mixer.operations()[1].timeUs, 33000);
  EXPECT_TRUE(mixer.operations()[1].hadWave);
  EXPECT_FALSE(mixer.operations()[2].hadWave);
  EXPECT_FALSE(mixer.isPlaying(2));
  EXPECT_EQ(mixer.volume(1), -500);
  EXPECT_EQ(mixer.operationsOn(1, Op::Stop).at(0).timeUs, 66000);
  // Out-of-range channels do nothing.
  mixer.playLooped(Mixer::kChannelCount);
  EXPECT_FALSE(mixer.isPlaying(Mixer::kChannelCount));
  mixer.freeAllWaves();
  EXPECT_FALSE(mixer.hasWave(1));
}

}  // namespace
}  // namespace kestrel
