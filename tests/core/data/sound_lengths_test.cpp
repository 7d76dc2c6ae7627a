#include <gtest/gtest.h>

#include <fstream>

#include "core/data/sound_lengths.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

std::string header(uint32_t byteRate, uint32_t dataSize) {
  std::string h(44, '\0');
  for (int i = 0; i < 4; ++i) {
    h[28 + i] = static_cast<char>((byteRate >> (8 * i)) & 0xFF);
    h[40 + i] = static_cast<char>((dataSize >> (8 * i)) & 0xFF);
  }
  return h;
}

TEST(SoundLengths, DataSizeOverByteRateRoundedHalfAwayFromZero) {
  EXPECT_EQ(waveHeaderSeconds(header(1000, 2500)), 3);  // 2.5 s
  EXPECT_EQ(waveHeaderSeconds(header(1000, 2499)), 2);
  EXPECT_EQ(waveHeaderSeconds(header(88200, 88200 * 12)), 12);
  EXPECT_EQ(waveHeaderSeconds(header(1, 0xFFFFFFFFu)), 2147483647);  // saturates
  EXPECT_EQ(waveHeaderSeconds(header(0, 5000)), 0);  // no byte rate: no length, no division
  EXPECT_FALSE(waveHeaderSeconds(header(1000, 1000).substr(0, 43)).has_value());
}

TEST(SoundLengths, UnreadableFilesCountZeroWithAWarning) {
  auto dir = test::scratchDir("sound_lengths");
  std::filesystem::create_directories(dir / "sound");
  std::ofstream(dir / "sound" / "Arrive.wav", std::ios::binary) << header(1000, 3600) << std::string(3600, '\x80');
  std::ofstream(dir / "short.wav", std::ios::binary) << "RIFF";
  LineData line;
  line.SoundData = {"sound\\arrive.wav", "", "missing.wav", "short.wav"};
  std::vector<std::string> warnings;
  measureSoundLengths(line, dir, &warnings);
  EXPECT_EQ(line.soundLengths, (std::vector<int32_t>{4, 0, 0, 0}));
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_NE(warnings[0].find("missing.wav: No such file or directory"), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[1].find("short.wav: shorter than a wave header (4 bytes)"), std::string::npos) << warnings[1];
}

}  // namespace
}  // namespace kestrel
