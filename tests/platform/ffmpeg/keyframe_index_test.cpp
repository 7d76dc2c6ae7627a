#include "platform/ffmpeg/keyframe_index.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

// Keyframes as an AVI with two B-frames stores them: the keyframe shown as frame 15 is the 14th
// packet (timestamp 13), and numbering against the first frame shown (timestamp 1) makes its
// estimate 12.
KeyframeIndex bFrameIndex() {
  KeyframeIndex index;
  index.add(28, 27);
  index.add(0, -1);
  index.add(13, 12);
  index.learnSeek(0, 0);
  return index;
}

TEST(KeyframeIndex, EstimatesUntilTheDecoderShowsWhereAKeyframeIs) {
  KeyframeIndex index = bFrameIndex();
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index.timestamp(1), 13);  // kept in timestamp order
  EXPECT_EQ(index.entryFor(-1), KeyframeIndex::kNone);
  EXPECT_EQ(index.entryFor(11), 0u);
  EXPECT_EQ(index.entryFor(13), 1u) << "estimated at 12";

  index.learnSeek(1, 15);
  EXPECT_EQ(index.entryFor(13), 0u);
  EXPECT_EQ(index.entryFor(14), 0u);
  EXPECT_EQ(index.entryFor(15), 1u);
  // The next keyframe is taken to trail its estimate by as much.
  EXPECT_EQ(index.firstFrame(2), 30);
  EXPECT_EQ(index.entryFor(29), 1u);
  EXPECT_EQ(index.entryFor(30), 2u);
  EXPECT_EQ(index.entryFor(1000), 2u);
}

TEST(KeyframeIndex, LearnsKeyframesPassedOnTheWayAndKeepsWhatItLearned) {
  KeyframeIndex index = bFrameIndex();
  // Keyframe 15 comes out of the decoder once the packet after it (timestamp 16) was read.
  index.learnPassed(16, 15);
  EXPECT_TRUE(index.learned(1));
  EXPECT_EQ(index.firstFrame(1), 15);
  EXPECT_FALSE(index.learned(2));
  index.learnPassed(-5, 3);   // before every keyframe: nothing to learn
  index.learnPassed(17, 16);  // a second keyframe shown for the same one is not believed
  EXPECT_EQ(index.firstFrame(1), 15);

  index.add(13, 12);  // the container's index read again
  EXPECT_EQ(index.size(), 3u);
  EXPECT_EQ(index.firstFrame(1), 15);
  EXPECT_EQ(index.find(13), 1u);
  EXPECT_EQ(index.find(14), KeyframeIndex::kNone);
}

}  // namespace
}  // namespace kestrel
