// The route movie of the quick demo as the cab plays it: decoded with the movie reader, the stop
// frame of every station shows the platform beside the track, and a stretch past it does not.
#include <gtest/gtest.h>

#include "platform/ffmpeg/ffmpeg_movie_reader.h"
#include "tools/demo_files.h"

namespace kestrel::test {
namespace {

// Share of platform-grey pixels in a box of the frame (the platform top is light grey).
double platformShare(const Picture& p, int x0, int x1, int y0, int y1) {
  int n = 0, hit = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const uint32_t c = p.at(x, y);
      const int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
      ++n;
      hit += r > 175 && g > 170 && b > 160 && std::abs(r - b) < 30;
    }
  return static_cast<double>(hit) / n;
}

TEST(QuickDemoMovie, TheWholeMovieDecodesAndStopFramesShowThePlatform) {
  const auto line = DataLines::read(quickDemo() / "line_local.dat");
  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(quickDemo() / "movie" / (line.values("[DataName]", 1).at(0) + ".avi")));
  const int frames = reader.frameCount();
  Picture pic;
  ASSERT_TRUE(reader.decodeFrame(frames - 1, pic)) << "the last frame the header counts does not decode";
  EXPECT_EQ(pic.width, 640);
  const auto speedUnit = line.table("[SpeedUnit]");
  EXPECT_GE(intField(speedUnit.back(), 2), frames);

  for (const auto& st : line.table("[Station]")) {
    SCOPED_TRACE(st);
    const int stop = intField(st, 3);
    const bool left = intField(st, 14) == 0;
    ASSERT_TRUE(reader.decodeFrame(stop, pic));
    // In the lower part of the picture the platform stands beside the track, on its side.
    const double at = left ? platformShare(pic, 0, 320, 300, 360) : platformShare(pic, 320, 640, 300, 360);
    EXPECT_GT(at, 0.3);
    // Some 60 frames on the train is past the platform's end.
    ASSERT_TRUE(reader.decodeFrame(std::min(frames - 1, stop + 60), pic));
    const double after = left ? platformShare(pic, 0, 320, 300, 360) : platformShare(pic, 320, 640, 300, 360);
    EXPECT_LT(after, 0.05);
  }
}

}  // namespace
}  // namespace kestrel::test
