#include "platform/ffmpeg/ffmpeg_movie_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <numeric>
#include <random>

#include "movie_fixtures.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

constexpr int kFrames = 90;
constexpr size_t kFrameBytes = 160 * 120 * 4;
const std::string kSource = "-f lavfi -i testsrc2=size=160x120:rate=30 ";

struct MovieKind {
  const char* name;
  const char* file;
  std::string arguments;
  int groupOfPictures;
};

const MovieKind kMpeg4 = {"Mpeg4Gop15WithAudio", "mpeg4-gop15.avi",
                          kSource +
                              "-f lavfi -t 3 -i sine=frequency=440:sample_rate=22050 -frames:v 90 "
                              "-c:v mpeg4 -g 15 -bf 0 -q:v 4 -c:a pcm_s16le",
                          15};
const MovieKind kMpeg4BFrames = {"Mpeg4Gop15BFrames", "mpeg4-bf2.avi",
                                 kSource + "-frames:v 90 -c:v mpeg4 -g 15 -bf 2 -q:v 4", 15};
const MovieKind kH264Mp4 = {"H264Mp4", "h264.mp4",
                            kSource + "-frames:v 90 -c:v libx264 -g 15 -bf 2 -pix_fmt yuv420p", 15};
const MovieKind kH264Mkv = {"H264Mkv", "h264.mkv",
                            kSource + "-frames:v 90 -c:v libx264 -g 15 -bf 2 -pix_fmt yuv420p", 15};
const MovieKind kMjpeg = {"MjpegFullRange", "mjpeg.avi",
                          kSource + "-frames:v 90 -c:v mjpeg -pix_fmt yuvj420p -q:v 3", 1};

void PrintTo(const MovieKind& kind, std::ostream* os) {
  *os << kind.name;
}

struct Movie {
  std::filesystem::path path;
  std::vector<std::string> md5s;  // what the ffmpeg tool decodes, frame by frame
};

Movie make(const MovieKind& kind) {
  Movie movie;
  movie.path = test::makeMovie(kind.file, kind.arguments);
  if (!movie.path.empty()) movie.md5s = test::referenceFrameMd5s(movie.path);
  return movie;
}

// Decodes frame n, expecting success; the MD5 of what came out.
std::string decodedMd5(FfmpegMovieReader& reader, int n) {
  Picture picture;
  EXPECT_TRUE(reader.decodeFrame(n, picture)) << "frame " << n;
  return test::md5Of(picture);
}

class MovieReaderKinds : public ::testing::TestWithParam<MovieKind> {
 protected:
  void SetUp() override {
    movie_ = make(GetParam());
    ASSERT_FALSE(movie_.path.empty()) << "the ffmpeg tool could not make the movie";
    ASSERT_EQ(movie_.md5s.size(), static_cast<size_t>(kFrames));
  }
  // Reads the frames in the given order and compares each with the tool's.
  void expectFramesInOrder(FfmpegMovieReader& reader, const std::vector<int>& order) {
    for (int n : order) EXPECT_EQ(decodedMd5(reader, n), movie_.md5s[n]) << "frame " << n;
  }
  Movie movie_;
};

TEST_P(MovieReaderKinds, ForwardOrderMatchesTheToolWithOneDecodePerFrameAndNoSeek) {
  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(movie_.path));
  EXPECT_EQ(reader.frameCount(), kFrames);
  Picture first;
  ASSERT_TRUE(reader.decodeFrame(0, first));
  EXPECT_EQ(first.width, 160);
  EXPECT_EQ(first.height, 120);
  EXPECT_EQ(first.at(0, 0) >> 24, 0xFFu) << "opaque";

  std::vector<int> order(kFrames);
  std::iota(order.begin(), order.end(), 0);
  expectFramesInOrder(reader, order);
  EXPECT_EQ(reader.counters().seeks, 0);
  EXPECT_EQ(reader.counters().framesDecoded, kFrames);  // frame 0 was decoded by open()
}

TEST_P(MovieReaderKinds, BackwardOrderMatchesTheToolDecodingEachFrameAboutOnce) {
  // A cache of 20 frames: more than a group of pictures, far less than the movie.
  FfmpegMovieReader reader(20 * kFrameBytes);
  ASSERT_TRUE(reader.open(movie_.path));
  reader.resetCounters();
  std::vector<int> order(kFrames);
  std::iota(order.rbegin(), order.rend(), 0);
  expectFramesInOrder(reader, order);

  const int gop = GetParam().groupOfPictures;
  // The first request is not yet known to start a backward run, and a keyframe shown after the
  // frame asked for costs another group; every other frame is decoded once.
  EXPECT_LE(reader.counters().framesDecoded, kFrames + 2 * gop);
  EXPECT_LE(reader.counters().seeks, kFrames / gop + 2);
}

TEST_P(MovieReaderKinds, RandomOrderMatchesTheTool) {
  FfmpegMovieReader reader(4 * kFrameBytes);
  ASSERT_TRUE(reader.open(movie_.path));
  std::vector<int> order(kFrames);
  std::iota(order.begin(), order.end(), 0);
  std::mt19937 random(20240607);
  std::shuffle(order.begin(), order.end(), random);
  // Some repeats and near steps among the jumps.
  order.insert(order.end(), {89, 88, 89, 0, 1, 0, 44, 45, 46, 45, 14, 16, 15});
  expectFramesInOrder(reader, order);
}

TEST_P(MovieReaderKinds, OutOfRangeHandsOutTheLastDecodedFrameAgain) {
  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(movie_.path));
  Picture picture;
  picture.width = 3;
  picture.height = 1;
  picture.pixels = {1, 2, 3};
  EXPECT_FALSE(reader.decodeFrame(-1, picture));
  EXPECT_TRUE(picture.empty()) << "nothing decoded yet";
  EXPECT_TRUE(picture.pixels.empty());

  ASSERT_TRUE(reader.decodeFrame(40, picture));
  const auto counters = reader.counters();
  for (int n : {-1, kFrames, kFrames + 1, INT_MAX, INT_MIN}) {
    Picture again;
    EXPECT_FALSE(reader.decodeFrame(n, again)) << n;
    EXPECT_EQ(test::md5Of(again), movie_.md5s[40]) << n;
  }
  EXPECT_EQ(reader.counters().framesDecoded, counters.framesDecoded);
  EXPECT_EQ(reader.counters().seeks, counters.seeks);
}

INSTANTIATE_TEST_SUITE_P(Movies, MovieReaderKinds,
                         ::testing::Values(kMpeg4, kMpeg4BFrames, kMjpeg, kH264Mp4, kH264Mkv),
                         [](const ::testing::TestParamInfo<MovieKind>& kind) {
                           return std::string(kind.param.name);
                         });

TEST(FfmpegMovieReader, SeeksOnlyWhenAKeyframeLiesBetween) {
  const Movie movie = make(kMpeg4);
  ASSERT_EQ(movie.md5s.size(), static_cast<size_t>(kFrames));
  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(movie.path));
  Picture picture;
  ASSERT_TRUE(reader.decodeFrame(3, picture));
  reader.resetCounters();

  EXPECT_EQ(decodedMd5(reader, 12), movie.md5s[12]);  // same group of pictures: decode on
  EXPECT_EQ(reader.counters().seeks, 0);
  EXPECT_EQ(reader.counters().framesDecoded, 9);

  EXPECT_EQ(decodedMd5(reader, 40), movie.md5s[40]);  // keyframes 15 and 30 between: from 30
  EXPECT_EQ(reader.counters().seeks, 1);
  EXPECT_EQ(reader.counters().framesDecoded, 9 + 11);

  reader.resetCounters();
  ASSERT_TRUE(reader.decodeFrame(44, picture));
  EXPECT_EQ(decodedMd5(reader, 45), movie.md5s[45]);  // one step onto a keyframe: decode on
  EXPECT_EQ(decodedMd5(reader, 47), movie.md5s[47]);
  EXPECT_EQ(reader.counters().seeks, 0);
  EXPECT_EQ(reader.counters().framesDecoded, 7);

  // Back within the group: the frames on the way are kept, the next steps back cost nothing.
  reader.resetCounters();
  EXPECT_EQ(decodedMd5(reader, 46), movie.md5s[46]);
  EXPECT_EQ(reader.counters().seeks, 1);
  EXPECT_EQ(reader.counters().framesDecoded, 2);
  EXPECT_EQ(decodedMd5(reader, 45), movie.md5s[45]);
  EXPECT_EQ(decodedMd5(reader, 44), movie.md5s[44]);  // still kept from the way forward
  EXPECT_EQ(reader.counters().cacheHits, 2);
  for (int n = 43; n >= 30; --n) EXPECT_EQ(decodedMd5(reader, n), movie.md5s[n]);
  EXPECT_EQ(reader.counters().seeks, 2);  // one for the whole group before
  EXPECT_EQ(reader.counters().framesDecoded, 2 + 14);
  EXPECT_EQ(reader.counters().cacheHits, 2 + 13);
}

TEST(FfmpegMovieReader, AKeyframeShownAfterTheFrameSendsTheSeekFurtherBackOnlyOnce) {
  // With B-frames, frames 43 and 44 are stored after the keyframe shown as 45 and need the group
  // before it.
  const Movie movie = make(kMpeg4BFrames);
  ASSERT_EQ(movie.md5s.size(), static_cast<size_t>(kFrames));
  FfmpegMovieReader reader(kFrameBytes);  // one frame: every request below decodes
  ASSERT_TRUE(reader.open(movie.path));
  reader.resetCounters();
  EXPECT_EQ(decodedMd5(reader, 44), movie.md5s[44]);
  EXPECT_EQ(reader.counters().seeks, 2);
  EXPECT_EQ(decodedMd5(reader, 10), movie.md5s[10]);
  reader.resetCounters();
  EXPECT_EQ(decodedMd5(reader, 43), movie.md5s[43]);
  EXPECT_EQ(reader.counters().seeks, 1) << "the keyframe's place was learned";
  EXPECT_EQ(reader.counters().framesDecoded, 43 - 30 + 1);
}

TEST(FfmpegMovieReader, FramesTheStreamSkipsShowThePictureBeforeThem) {
  // Frames 20 to 24 dropped: the AVI counts them as empty chunks.
  const auto path =
      test::makeMovie("dropped.avi",
                      "-f lavfi -i \"testsrc2=size=160x120:rate=30,select='not(between(n\\,20\\,24))'\" "
                      "-frames:v 85 -fps_mode passthrough -c:v mpeg4 -g 15 -bf 0 -q:v 4");
  ASSERT_FALSE(path.empty());
  auto md5s = test::referenceFrameMd5sByPts(path);
  ASSERT_EQ(md5s.size(), 85u);
  ASSERT_EQ(md5s.count(20), 0u);
  for (int n = 20; n <= 24; ++n) md5s[n] = md5s[19];

  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(path));
  EXPECT_EQ(reader.frameCount(), kFrames);
  for (int n : {60, 22, 89, 24, 23, 21, 20, 19, 25}) EXPECT_EQ(decodedMd5(reader, n), md5s[n]) << n;
  for (int n = 15; n < kFrames; ++n) EXPECT_EQ(decodedMd5(reader, n), md5s[n]) << n;
  for (int n = 30; n >= 15; --n) EXPECT_EQ(decodedMd5(reader, n), md5s[n]) << n;
}

TEST(FfmpegMovieReader, MissingOrUnreadableFilesDoNotOpen) {
  const auto dir = test::scratchDir("ffmpeg_reader_unreadable");
  std::ofstream(dir / "notes.avi") << "not a movie\n";
  std::ofstream(dir / "empty.avi");
  FfmpegMovieReader reader;
  for (const auto& path : {dir / "missing.avi", dir / "notes.avi", dir / "empty.avi", dir}) {
    EXPECT_FALSE(reader.open(path)) << path;
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(reader.frameCount(), 0);
    Picture picture;
    EXPECT_FALSE(reader.decodeFrame(0, picture));
    EXPECT_TRUE(picture.empty());
  }
}

TEST(FfmpegMovieReader, FramesTooLargeToConvertDoNotOpen) {
  const auto path =
      test::makeMovie("huge.avi", "-f lavfi -i color=c=gray:size=4112x4096 -frames:v 1 -c:v mjpeg");
  ASSERT_FALSE(path.empty());
  FfmpegMovieReader reader;
  EXPECT_FALSE(reader.open(path));
  EXPECT_FALSE(reader.isOpen());
}

TEST(FfmpegMovieReader, NamesWithColonsAndSpacesOpen) {
  const Movie movie = make(kMjpeg);
  ASSERT_FALSE(movie.path.empty());
  const auto dir = test::scratchDir("ffmpeg_reader_names");
  const auto odd = dir / "c:route 1.avi";
  std::filesystem::copy_file(movie.path, odd);
  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(odd));
  EXPECT_EQ(decodedMd5(reader, 7), movie.md5s[7]);
}

TEST(FfmpegMovieReader, TruncatedFileKeepsTheHeaderCountAndDecodesWhatIsThere) {
  const Movie whole = make(kMpeg4);
  ASSERT_FALSE(whole.path.empty());
  const auto dir = test::scratchDir("ffmpeg_reader_truncated");
  const auto cut = dir / "cut.avi";
  {
    std::ifstream in(whole.path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    bytes.resize(bytes.size() * 2 / 3);
    std::ofstream(cut, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // What the tool decodes; a frame it decodes from a packet cut short is damaged, and the reader
  // shows the last intact frame in its place.
  auto md5s = test::referenceFrameMd5s(cut);
  const int decodable = static_cast<int>(md5s.size());
  ASSERT_GT(decodable, 30);
  ASSERT_LT(decodable, kFrames);
  for (int n = 1; n < decodable; ++n)
    if (md5s[n] != whole.md5s[n]) md5s[n] = md5s[n - 1];

  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(cut));
  EXPECT_EQ(reader.frameCount(), kFrames);
  // Backwards and jumping about, with no index to seek by.
  for (int n : {decodable - 1, 20, 5, decodable - 2, 0, decodable / 2}) {
    EXPECT_EQ(decodedMd5(reader, n), md5s[n]) << n;
  }
  Picture picture;
  EXPECT_FALSE(reader.decodeFrame(decodable, picture));
  EXPECT_EQ(test::md5Of(picture), md5s[decodable / 2]);
  // The end is known now: frames past it fail at once.
  const auto counters = reader.counters();
  EXPECT_FALSE(reader.decodeFrame(kFrames - 1, picture));
  EXPECT_FALSE(reader.decodeFrame(decodable + 3, picture));
  EXPECT_EQ(test::md5Of(picture), md5s[decodable / 2]);
  EXPECT_EQ(reader.counters().seeks, counters.seeks);
  EXPECT_EQ(reader.counters().framesDecoded, counters.framesDecoded);
  EXPECT_EQ(decodedMd5(reader, 3), md5s[3]);
}

TEST(FfmpegMovieReader, DamagedFramesShowTheLastGoodOneUntilTheNextKeyframe) {
  // H.264 in AVI with a keyframe every 40 frames; the data of frames 50 to 52 damaged.
  const auto whole = test::makeMovie("damage-source.avi", kSource + "-frames:v 90 -c:v libx264 -bf 0 -pix_fmt yuv420p "
                                                                    "-x264-params keyint=40:min-keyint=40:scenecut=0");
  ASSERT_FALSE(whole.empty());
  const auto md5s = test::referenceFrameMd5s(whole);
  ASSERT_EQ(md5s.size(), static_cast<size_t>(kFrames));
  const auto damaged = test::scratchDir("ffmpeg_reader_damaged") / "damaged.avi";
  ASSERT_TRUE(test::damagePackets(whole, damaged, 50, 52));
  const auto expected = [&](int n) { return n >= 50 && n < 80 ? md5s[49] : md5s[n]; };

  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(damaged));
  for (int n = 0; n < kFrames; ++n) EXPECT_EQ(decodedMd5(reader, n), expected(n)) << n;
  const auto warning = reader.takeWarning();
  ASSERT_TRUE(warning);
  EXPECT_NE(warning->find("damaged.avi is damaged at frame 50"), std::string::npos) << *warning;
  // Jumping into the damaged stretch, and backwards through it: the same pictures, no more word.
  for (int n : {65, 85, 79, 50, 49, 60, 30}) EXPECT_EQ(decodedMd5(reader, n), expected(n)) << n;
  for (int n = 79; n >= 40; --n) EXPECT_EQ(decodedMd5(reader, n), expected(n)) << n;
  EXPECT_FALSE(reader.takeWarning());
}

TEST(FfmpegMovieReader, ReopensClosesAndKeepsTheLastFrameInPlace) {
  const Movie a = make(kMpeg4);
  const Movie b = make(kMjpeg);
  ASSERT_EQ(a.md5s.size(), static_cast<size_t>(kFrames));
  ASSERT_EQ(b.md5s.size(), static_cast<size_t>(kFrames));
  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(a.path));
  EXPECT_EQ(decodedMd5(reader, 20), a.md5s[20]);
  ASSERT_TRUE(reader.open(b.path));  // closes a
  EXPECT_TRUE(reader.isOpen());
  EXPECT_EQ(reader.frameCount(), kFrames);
  EXPECT_EQ(decodedMd5(reader, 20), b.md5s[20]) << "nothing of the first movie is handed out";

  reader.close();
  EXPECT_FALSE(reader.isOpen());
  EXPECT_EQ(reader.frameCount(), 0);
  Picture picture;
  EXPECT_FALSE(reader.decodeFrame(21, picture));
  EXPECT_EQ(test::md5Of(picture), b.md5s[20]);

  EXPECT_FALSE(reader.open(a.path.parent_path() / "missing.avi"));
  EXPECT_FALSE(reader.decodeFrame(0, picture));
  EXPECT_EQ(test::md5Of(picture), b.md5s[20]) << "a movie that cannot be opened leaves the picture";

  ASSERT_TRUE(reader.open(a.path));
  for (int n : {20, 7, 89}) EXPECT_EQ(decodedMd5(reader, n), a.md5s[n]) << n;
}

// The mean of one channel over a block of the picture.
double blockMean(const Picture& p, int x0, int y0, int w, int h, int shift) {
  double sum = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) sum += (p.at(x, y) >> shift) & 0xFF;
  return sum / (w * h);
}

TEST(FfmpegMovieReader, ScalesFramesToTheSizeAskedForAndBackToTheirOwn) {
  const Movie movie = make(kMpeg4);
  ASSERT_EQ(movie.md5s.size(), static_cast<size_t>(kFrames));
  FfmpegMovieReader reader;
  ASSERT_TRUE(reader.open(movie.path));
  Picture native;
  ASSERT_TRUE(reader.decodeFrame(40, native));
  reader.setFrameSize(200, 150);  // frames kept at the old size are not handed out
  Picture scaled;
  ASSERT_TRUE(reader.decodeFrame(40, scaled));
  ASSERT_EQ(std::pair(scaled.width, scaled.height), std::pair(200, 150));
  EXPECT_EQ(reader.counters().cacheHits, 0);
  // The same picture: blocks of 32 x 24 native pixels against the 40 x 30 they became.
  for (int by = 4; by < 96; by += 24)
    for (int bx = 4; bx < 128; bx += 40)
      for (int shift : {0, 8, 16})
        EXPECT_NEAR(blockMean(native, bx, by, 32, 24, shift),
                    blockMean(scaled, bx * 5 / 4, by * 5 / 4, 40, 30, shift), 4.0)
            << bx << "," << by;
  // Played on, the scaled frames stay the tool's frames in content, one decode each.
  for (int n = 41; n < 45; ++n) {
    ASSERT_TRUE(reader.decodeFrame(n, scaled));
    EXPECT_EQ(scaled.width, 200);
  }
  // A reopened movie keeps the size; 0 x 0 brings back the movie's own frames, exactly.
  ASSERT_TRUE(reader.open(movie.path));
  ASSERT_TRUE(reader.decodeFrame(3, scaled));
  EXPECT_EQ(scaled.width, 200);
  reader.setFrameSize(0, 0);
  EXPECT_EQ(decodedMd5(reader, 3), movie.md5s[3]);
}

}  // namespace
}  // namespace kestrel
