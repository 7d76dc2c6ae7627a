// The reader with a decoder thread, on long-GOP movies as cameras write them (H.264 and HEVC with
// B-frames, a keyframe every 120 frames; the HEVC one with open groups of pictures): its frames are the ffmpeg tool's, forwards, backwards and after
// jumps; the render step's request never waits for the decoder (the thread is held, or waited for
// until it has nothing left to do — no clocks); it decodes ahead in the direction of travel, each
// group of pictures once backwards, within its memory budget.
#include "platform/ffmpeg/threaded_movie_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <random>

#include "movie_fixtures.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

constexpr int kFrames = 300;
constexpr int kGroup = 120;
constexpr size_t kFrameBytes = 160 * 120 * 4;
const std::string kLongGop =
    "-f lavfi -i testsrc2=size=160x120:rate=30 -frames:v 300 -c:v libx264 -bf 3 -pix_fmt yuv420p "
    "-x264-params keyint=120:min-keyint=120:scenecut=0 ";
constexpr MovieTravel kForward{1, 30};
constexpr MovieTravel kBackward{-1, 30};
constexpr MovieTravel kStanding{0, 0};

// HEVC as cameras write it: open groups of pictures, whose first B-frames refer to the group before.
const std::string kLongGopHevc =
    "-f lavfi -i testsrc2=size=160x120:rate=30 -frames:v 300 -c:v libx265 -pix_fmt yuv420p "
    "-x265-params log-level=none:keyint=120:min-keyint=120:scenecut=0:bframes=3:open-gop=1 ";

struct LongGop {
  const char* name;
  const char* file;
  const std::string* encoding = &kLongGop;
};

class ThreadedReader : public ::testing::TestWithParam<LongGop> {
 protected:
  void SetUp() override {
    path_ = test::makeMovie(GetParam().file, *GetParam().encoding);
    ASSERT_FALSE(path_.empty()) << "the ffmpeg tool could not make the movie";
    md5s_ = test::referenceFrameMd5s(path_);
    ASSERT_EQ(md5s_.size(), static_cast<size_t>(kFrames));
  }
  // Frame n as the render step asks for it, waiting for the decoder thread only when it answers
  // that the frame is still being made.
  std::string md5Of(ThreadedMovieReader& reader, int n, MovieTravel travel, bool* waited = nullptr) {
    Picture picture;
    FrameState state = reader.requestFrame(n, travel, picture);
    const bool waits = state == FrameState::kPending || state == FrameState::kStandIn;
    if (waited) *waited = waits;
    if (waits) {
      reader.waitUntilIdle();
      state = reader.requestFrame(n, travel, picture);
    }
    EXPECT_EQ(state, FrameState::kReady) << n;
    return test::md5Of(picture);
  }
  std::filesystem::path path_;
  std::vector<std::string> md5s_;
};

TEST_P(ThreadedReader, FramesAreTheToolsForwardsBackwardsAndAfterJumps) {
  ThreadedMovieReader reader(ThreadedMovieReader::kDefaultBudgetBytes, 2, false);
  ASSERT_TRUE(reader.open(path_));
  EXPECT_EQ(reader.frameCount(), kFrames);
  for (int n = 0; n < kFrames; ++n) EXPECT_EQ(md5Of(reader, n, kForward), md5s_[n]) << n;

  reader.resetCounters();
  for (int n = kFrames - 1; n >= 0; --n) EXPECT_EQ(md5Of(reader, n, kBackward), md5s_[n]) << n;
  // Each group of pictures decoded about once: the frames of the movie, and the last group's
  // frames up to the end again (the way forward left only the last few kept).
  EXPECT_LE(reader.counters().framesDecoded, kFrames + kGroup);

  std::vector<int> order(kFrames);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(20240611));
  order.resize(60);
  order.insert(order.end(), {119, 120, 121, 239, 240, 0, 299, 118, 241});  // either side of keyframes
  for (int n : order) EXPECT_EQ(md5Of(reader, n, kStanding), md5s_[n]) << n;
}

TEST_P(ThreadedReader, TheRequestNeverWaitsAndTheFramesAheadAreMadeInAdvance) {
  ThreadedMovieReader reader(ThreadedMovieReader::kDefaultBudgetBytes, 2, false);
  ASSERT_TRUE(reader.open(path_));
  reader.hold(true);  // the decoder thread starts nothing: the answer must come without it
  Picture picture;
  picture.pixels = {7};
  EXPECT_EQ(reader.requestFrame(150, kForward, picture), FrameState::kPending);
  EXPECT_EQ(reader.requestFrame(150, kForward, picture), FrameState::kPending);
  EXPECT_EQ(picture.pixels, std::vector<uint32_t>{7}) << "a pending request leaves the picture alone";
  reader.hold(false);
  reader.waitUntilIdle();
  ASSERT_EQ(reader.requestFrame(150, kForward, picture), FrameState::kReady);
  EXPECT_EQ(test::md5Of(picture), md5s_[150]);
  // Forwards at 30 frames a second, the next frames are ready when asked for.
  for (int n = 151; n <= 158; ++n) {
    ASSERT_EQ(reader.requestFrame(n, kForward, picture), FrameState::kReady) << n;
    EXPECT_EQ(test::md5Of(picture), md5s_[n]);
  }
  // Ahead of the decoder, the newest frame on the way stands in until the frame is there.
  reader.waitUntilIdle();
  reader.hold(true);
  ASSERT_EQ(reader.requestFrame(175, kForward, picture), FrameState::kStandIn);
  EXPECT_EQ(test::md5Of(picture), md5s_[158 + 9]) << "the last of a third of a second ahead of 158";
  reader.hold(false);
  EXPECT_EQ(md5Of(reader, 175, kForward), md5s_[175]);
  EXPECT_EQ(md5Of(reader, 160, kStanding), md5s_[160]);

  // Backwards, likewise; and the rest of the group is decoded once, on the way.
  reader.waitUntilIdle();
  reader.resetCounters();
  bool waited = false;
  EXPECT_EQ(md5Of(reader, 110, kBackward, &waited), md5s_[110]);
  EXPECT_TRUE(waited) << "frame 110 lies in the group before: decoded when asked for";
  for (int n = 109; n >= 102; --n) {
    ASSERT_EQ(reader.requestFrame(n, kBackward, picture), FrameState::kReady) << n;
    EXPECT_EQ(test::md5Of(picture), md5s_[n]);
  }
  for (int n = 101; n >= 0; --n) EXPECT_EQ(md5Of(reader, n, kBackward), md5s_[n]) << n;
  EXPECT_LE(reader.counters().framesDecoded, kGroup + 8);
  EXPECT_EQ(reader.counters().seeks, 1);
}

TEST_P(ThreadedReader, AJumpStopsWorkThatWouldNotReachIt) {
  ThreadedMovieReader reader(ThreadedMovieReader::kDefaultBudgetBytes, 1, false);
  ASSERT_TRUE(reader.open(path_));
  reader.hold(true);
  Picture picture;
  // Rolling back from 239 means decoding all of its group; a jump meanwhile is answered first.
  EXPECT_EQ(reader.requestFrame(239, kBackward, picture), FrameState::kPending);
  reader.hold(false);
  EXPECT_EQ(md5Of(reader, 20, kStanding), md5s_[20]);
  EXPECT_EQ(md5Of(reader, 239, kStanding), md5s_[239]);
  // A new movie while the thread is busy; then the old one again, from the start.
  EXPECT_EQ(reader.requestFrame(280, kBackward, picture), FrameState::kPending);
  const auto other = test::makeMovie("threaded-other.mp4", "-f lavfi -i testsrc2=size=96x64:rate=25 -frames:v 50 "
                                                          "-c:v libx264 -pix_fmt yuv420p");
  ASSERT_FALSE(other.empty());
  const auto otherMd5s = test::referenceFrameMd5s(other);
  ASSERT_TRUE(reader.open(other));
  EXPECT_EQ(reader.frameCount(), 50);
  EXPECT_EQ(md5Of(reader, 30, kForward), otherMd5s[30]);
  ASSERT_TRUE(reader.open(path_));
  EXPECT_EQ(md5Of(reader, 0, kForward), md5s_[0]);
  EXPECT_EQ(reader.requestFrame(290, kBackward, picture), FrameState::kPending);
  // Destroyed while decoding: the thread stops after the frame in hand.
}

TEST_P(ThreadedReader, FramesKeptReadyForJumpsAreDecodedWhileStandingAndAnsweredAtOnce) {
  ThreadedMovieReader reader(ThreadedMovieReader::kDefaultBudgetBytes, 2, false);
  ASSERT_TRUE(reader.open(path_));
  EXPECT_EQ(md5Of(reader, 10, kForward), md5s_[10]);
  // While the movie moves, its decoder's time is the movie's.
  // Frame 10 is on the screen as it is asked for (the place just saved): kept as the cache has it.
  reader.hold(true);
  reader.keepReady({239, 10, 119, 299, 5000});
  EXPECT_TRUE(reader.keptReady(10));
  reader.hold(false);
  reader.waitUntilIdle();
  EXPECT_FALSE(reader.keptReady(239));
  EXPECT_EQ(md5Of(reader, 10, kStanding), md5s_[10]);
  reader.waitUntilIdle();
  for (int n : {119, 239, 299}) EXPECT_TRUE(reader.keptReady(n)) << n;
  // Jumps there are answered at once, the decoder thread held.
  reader.hold(true);
  Picture picture;
  for (int n : {299, 239, 119}) {
    ASSERT_EQ(reader.requestFrame(n, kStanding, picture), FrameState::kReady) << n;
    EXPECT_EQ(test::md5Of(picture), md5s_[n]) << n;
  }
  EXPECT_EQ(reader.requestFrame(59, kStanding, picture), FrameState::kPending);
  reader.hold(false);
  // Opening a movie empties the list.
  ASSERT_TRUE(reader.open(path_));
  EXPECT_FALSE(reader.keptReady(239));
}

TEST_P(ThreadedReader, ASmallBudgetHoldsAndBackwardsStaysExact) {
  const size_t budget = 40 * kFrameBytes;  // a third of a group
  ThreadedMovieReader reader(budget, 2, false);
  ASSERT_TRUE(reader.open(path_));
  reader.resetCounters();
  for (int n = kFrames - 1; n >= 0; --n) EXPECT_EQ(md5Of(reader, n, kBackward), md5s_[n]) << n;
  EXPECT_LE(reader.peakCacheBytes(), budget);
  // Groups decoded in parts: more than once each, but nowhere near once per frame.
  EXPECT_LE(reader.counters().framesDecoded, 4 * kFrames);
}

TEST_P(ThreadedReader, WithHardwareDecodingAllowedItPlaysWhereverItDecodes) {
  // On a VA-API device, or in software where none opens (as here): the movie plays either way.
  ThreadedMovieReader reader(ThreadedMovieReader::kDefaultBudgetBytes, 0, true);
  ASSERT_TRUE(reader.open(path_));
  Picture picture;
  for (int n : {0, 200, 199, 198}) {
    if (reader.requestFrame(n, kBackward, picture) != FrameState::kReady) {
      reader.waitUntilIdle();
      ASSERT_EQ(reader.requestFrame(n, kBackward, picture), FrameState::kReady) << n;
    }
    EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(160, 120));
  }
}

INSTANTIATE_TEST_SUITE_P(Movies, ThreadedReader,
                         ::testing::Values(LongGop{"Avi", "long-gop.avi"}, LongGop{"Mp4", "long-gop.mp4"},
                                           LongGop{"HevcMp4", "long-gop-hevc.mp4", &kLongGopHevc}),
                         [](const ::testing::TestParamInfo<LongGop>& kind) { return std::string(kind.param.name); });

TEST(ThreadedMovieReader, FramesPastTheEndAndDamageAreAnsweredWithTheLastPicture) {
  // Frames 50 to 52 damaged, a keyframe every 40 frames; the file cut short too.
  const auto whole = test::makeMovie("threaded-damage.avi", "-f lavfi -i testsrc2=size=160x120:rate=30 -frames:v 90 "
                                                            "-c:v libx264 -bf 0 -pix_fmt yuv420p "
                                                            "-x264-params keyint=40:min-keyint=40:scenecut=0");
  ASSERT_FALSE(whole.empty());
  const auto md5s = test::referenceFrameMd5s(whole);
  ASSERT_EQ(md5s.size(), 90u);
  const auto dir = test::scratchDir("threaded_reader_damage");
  ASSERT_TRUE(test::damagePackets(whole, dir / "damaged.avi", 50, 52));
  {
    std::ifstream in(dir / "damaged.avi", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    bytes.resize(bytes.size() * 9 / 10);
    std::ofstream(dir / "cut.avi", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // Intact frames are the tool's; a damaged one (in the middle, or cut short at the end) is the
  // last intact one before it.
  const auto cutMd5s = test::referenceFrameMd5s(dir / "cut.avi");
  ASSERT_LT(cutMd5s.size(), 89u);
  std::vector<std::string> expected(cutMd5s.size());
  for (size_t n = 0; n < cutMd5s.size(); ++n)
    expected[n] = cutMd5s[n] == md5s[n] && (n < 50 || n >= 80) ? md5s[n] : expected[n - 1];

  ThreadedMovieReader reader(ThreadedMovieReader::kDefaultBudgetBytes, 2, false);
  ASSERT_TRUE(reader.open(dir / "cut.avi"));
  EXPECT_EQ(reader.frameCount(), 90);
  Picture picture;
  int shownUpTo = -1;
  for (int n = 0; n < 90; ++n) {
    FrameState state = reader.requestFrame(n, kForward, picture);
    if (state == FrameState::kPending) {
      reader.waitUntilIdle();
      state = reader.requestFrame(n, kForward, picture);
    }
    ASSERT_NE(state, FrameState::kPending) << n;
    if (state == FrameState::kReady) {
      shownUpTo = n;
      ASSERT_LT(static_cast<size_t>(n), expected.size());
      EXPECT_EQ(test::md5Of(picture), expected[n]) << n;
    } else {
      EXPECT_EQ(test::md5Of(picture), expected[shownUpTo]) << "past the end: the last picture again, " << n;
    }
  }
  EXPECT_GT(shownUpTo, 79);
  const auto warning = reader.takeWarning();
  ASSERT_TRUE(warning);
  EXPECT_NE(warning->find("damaged at frame 50"), std::string::npos) << *warning;
  EXPECT_FALSE(reader.takeWarning()) << "one message at most";
  EXPECT_EQ(reader.requestFrame(90, kForward, picture), FrameState::kMissing);
}

}  // namespace
}  // namespace kestrel
