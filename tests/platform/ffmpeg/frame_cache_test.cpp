#include "platform/ffmpeg/frame_cache.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 4;
constexpr size_t kBytes = kWidth * kHeight * 4;

std::shared_ptr<Picture> filled(FrameCache& cache, uint32_t value) {
  auto picture = cache.make();
  picture->width = kWidth;
  picture->height = kHeight;
  picture->pixels.assign(kWidth * kHeight, value);
  return picture;
}

TEST(FrameCache, KeepsTheMostRecentlyUsedFramesWithinTheBudget) {
  FrameCache cache(3 * kBytes);
  EXPECT_EQ(cache.capacityFor(kWidth, kHeight), 3u);
  for (int frame : {1, 2, 3}) cache.put(frame, filled(cache, static_cast<uint32_t>(frame)));
  ASSERT_NE(cache.find(1), nullptr);  // 1 is now the most recent, 2 the oldest
  cache.put(4, filled(cache, 4));
  EXPECT_FALSE(cache.contains(2));
  EXPECT_TRUE(cache.contains(1));
  EXPECT_TRUE(cache.contains(3));
  EXPECT_EQ(cache.find(4)->pixels[0], 4u);
  EXPECT_EQ(cache.bytes(), 3 * kBytes);

  cache.put(3, filled(cache, 33));  // replaced, not counted twice
  EXPECT_EQ(cache.size(), 3u);
  EXPECT_EQ(cache.bytes(), 3 * kBytes);
  EXPECT_EQ(cache.find(3)->pixels[0], 33u);

  cache.clear();
  EXPECT_EQ(cache.size(), 0u);
  EXPECT_EQ(cache.bytes(), 0u);
  EXPECT_EQ(cache.find(1), nullptr);
}

TEST(FrameCache, APictureHandedOutSurvivesEvictionUnchanged) {
  FrameCache cache(kBytes);
  cache.put(1, filled(cache, 7));
  auto held = cache.find(1);
  cache.put(2, filled(cache, 8));  // evicts 1, which is still held
  EXPECT_FALSE(cache.contains(1));
  auto next = cache.make();
  EXPECT_NE(next.get(), held.get()) << "a held picture's buffer must not be reused";
  next->pixels.assign(kWidth * kHeight, 9);
  EXPECT_EQ(held->pixels[0], 7u);

  // A picture larger than the whole budget is not kept, and keeps nothing else out.
  auto big = std::make_shared<Picture>();
  big->pixels.assign(2 * kWidth * kHeight, 1);
  cache.put(3, big);
  EXPECT_FALSE(cache.contains(3));
  EXPECT_TRUE(cache.contains(2));
}

}  // namespace
}  // namespace kestrel
