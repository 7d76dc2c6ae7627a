#include "platform/ffmpeg/frame_cache.h"

#include <gtest/gtest.h>

#include <vector>

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

std::vector<int> kept(const FrameCache& cache, int from, int to) {
  std::vector<int> frames;
  for (int f = from; f <= to; ++f)
    if (cache.contains(f)) frames.push_back(f);
  return frames;
}

TEST(FrameCache, WhatGoesFirstFollowsWhereTheMovieIsHeading) {
  FrameCache cache(4 * kBytes);
  EXPECT_EQ(cache.capacityFor(kWidth, kHeight), 4u);
  // Forwards from 10: frames passed go first, then the farthest ahead; a frame that would be the
  // first to go is not taken in.
  cache.setFocus(10, 1);
  for (int f : {9, 10, 11, 12}) EXPECT_TRUE(cache.putPicture(f, filled(cache, static_cast<uint32_t>(f))));
  EXPECT_TRUE(cache.putPicture(13, filled(cache, 13)));
  EXPECT_EQ(kept(cache, 0, 20), (std::vector<int>{10, 11, 12, 13}));
  EXPECT_FALSE(cache.putPicture(20, filled(cache, 20)));
  EXPECT_EQ(kept(cache, 0, 20), (std::vector<int>{10, 11, 12, 13}));
  EXPECT_EQ(cache.bytes(), 4 * kBytes);

  // Backwards from 12: 13 is passed; then the lowest go.
  cache.setFocus(12, -1);
  EXPECT_TRUE(cache.putPicture(8, filled(cache, 8)));
  EXPECT_EQ(kept(cache, 0, 20), (std::vector<int>{8, 10, 11, 12}));
  EXPECT_TRUE(cache.putPicture(9, filled(cache, 9)));  // nearer than 8
  EXPECT_EQ(kept(cache, 0, 20), (std::vector<int>{9, 10, 11, 12}));

  // Standing: the farthest either side.
  cache.setFocus(12, 0);
  EXPECT_TRUE(cache.putPicture(13, filled(cache, 13)));
  EXPECT_EQ(kept(cache, 0, 20), (std::vector<int>{10, 11, 12, 13}));

  cache.putPicture(12, filled(cache, 120));  // replaced, not counted twice
  EXPECT_EQ(cache.size(), 4u);
  EXPECT_EQ(cache.bytes(), 4 * kBytes);
  EXPECT_EQ(cache.picture(12)->pixels[0], 120u);
  EXPECT_EQ(cache.peakBytes(), 4 * kBytes);

  cache.clear();
  EXPECT_EQ(cache.size(), 0u);
  EXPECT_EQ(cache.bytes(), 0u);
  EXPECT_EQ(cache.picture(10), nullptr);
}

TEST(FrameCache, PicturesFarBehindGoAtOnceAndAbsentFramesAreFound) {
  FrameCache cache(100 * kBytes);
  cache.setFocus(0, 1);
  for (int f = 0; f < 20; ++f) cache.putPicture(f, filled(cache, static_cast<uint32_t>(f)));
  cache.setFocus(15, 1);
  EXPECT_EQ(kept(cache, 0, 19).front(), 15 - FrameCache::kKeepBehind);
  cache.setFocus(10, -1);  // turned round: what lies above 10 + kKeepBehind goes
  EXPECT_EQ(kept(cache, 0, 19), (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));

  EXPECT_EQ(cache.firstAbsent(10, -1, 10, true), 6);
  EXPECT_EQ(cache.firstAbsent(10, 1, 10, true), 19);
  EXPECT_EQ(cache.firstAbsent(10, 1, 5, true), std::nullopt);
}

TEST(FrameCache, APictureHandedOutSurvivesEvictionUnchanged) {
  FrameCache cache(kBytes);
  cache.setFocus(2, 1);
  cache.putPicture(1, filled(cache, 7));
  auto held = cache.picture(1);
  cache.putPicture(2, filled(cache, 8));  // evicts 1, which is still held
  EXPECT_FALSE(cache.contains(1));
  auto next = cache.make();
  EXPECT_NE(next.get(), held.get()) << "a held picture's buffer must not be reused";
  next->pixels.assign(kWidth * kHeight, 9);
  EXPECT_EQ(held->pixels[0], 7u);

  // A picture larger than the whole budget is not kept, and keeps nothing else out.
  auto big = std::make_shared<Picture>();
  big->pixels.assign(2 * kWidth * kHeight, 1);
  EXPECT_FALSE(cache.putPicture(3, big));
  EXPECT_FALSE(cache.contains(3));
  EXPECT_TRUE(cache.contains(2));
}

}  // namespace
}  // namespace kestrel
