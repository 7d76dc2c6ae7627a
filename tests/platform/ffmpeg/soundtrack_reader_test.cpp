// The soundtrack of a movie as the title window plays it: a stereo track, PCM or compressed, comes
// out mono at its own rate with its pitch; a movie without sound, or no movie, gives none.
#include "platform/ffmpeg/soundtrack_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "movie_fixtures.h"

namespace kestrel {
namespace {

TEST(SoundtrackReader, AStereoTrackComesOutMonoAtItsRateAndPitchAMovieWithoutSoundHasNone) {
  for (const char* codec : {"pcm_s16le", "mp2"}) {
    SCOPED_TRACE(codec);
    const auto movie = test::makeMovie(
        std::string("soundtrack_stereo_") + codec + ".avi",
        std::string(
            "-f lavfi -i testsrc=size=64x48:rate=30:duration=1 -f lavfi -i "
            "sine=frequency=440:sample_rate=44100:duration=1 -af 'pan=stereo|c0=c0|c1=c0' -c:v mpeg4 -c:a ") +
            codec);
    ASSERT_FALSE(movie.empty());
    const auto track = readSoundtrack(movie);
    ASSERT_TRUE(track);
    EXPECT_EQ(track->sampleRate, 44100);
    EXPECT_NEAR(static_cast<double>(track->samples.size()), 44100.0, 44100 * 0.06);
    // 440 Hz: 880 swings a second from below -500 to above 500 and back, at the sine generator's
    // level (1/8 of full scale): the two channels' mean, not their sum.
    int swings = 0, peak = 0, side = 0;
    for (int16_t v : track->samples) {
      const int now = v > 500 ? 1 : (v < -500 ? -1 : side);
      swings += side != 0 && now != side;
      side = now;
      peak = std::max(peak, std::abs(static_cast<int>(v)));
    }
    const int crossings = swings;
    EXPECT_NEAR(crossings, 880, 30);
    EXPECT_NEAR(peak, 32767 / 8, 600);
    // A cut at half a second.
    EXPECT_EQ(readSoundtrack(movie, 0.5)->samples.size(), 22050u);
  }
  const auto silent =
      test::makeMovie("soundtrack_none.avi", "-f lavfi -i testsrc=size=64x48:rate=30:duration=1 -c:v mpeg4");
  ASSERT_FALSE(silent.empty());
  EXPECT_FALSE(readSoundtrack(silent));
  EXPECT_FALSE(readSoundtrack(silent.parent_path() / "no_such_movie.avi"));
}

}  // namespace
}  // namespace kestrel
