#include <gtest/gtest.h>

#include <fstream>

#include "core/util/path_lookup.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& p) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

TEST(PathLookup, BackslashSeparatesAndCaseFoldsPerComponent) {
  fs::path dir = test::scratchDir("path_lookup");
  touch(dir / "image" / "title" / "Title01.jpg");
  EXPECT_EQ(resolveDataPath(dir, "image\\title\\Title01.jpg"), dir / "image" / "title" / "Title01.jpg");
  EXPECT_EQ(resolveDataPath(dir, "IMAGE\\Title\\title01.JPG"), dir / "image" / "title" / "Title01.jpg");
  EXPECT_EQ(resolveDataPath(dir, "image/title/title01.jpg"), dir / "image" / "title" / "Title01.jpg");
  EXPECT_EQ(resolveDataPath(dir, "image\\\\title\\title01.jpg"), dir / "image" / "title" / "Title01.jpg");
}

TEST(PathLookup, NoMatchGivesTheLiteralNameForTheMessage) {
  fs::path dir = test::scratchDir("path_lookup_missing");
  touch(dir / "image" / "a.bmp");
  EXPECT_EQ(resolveDataPath(dir, "Image\\missing\\B.bmp"), dir / "Image" / "missing" / "B.bmp");
  EXPECT_EQ(resolveDataPath(dir / "nowhere", "x.bmp"), dir / "nowhere" / "x.bmp");
}

TEST(PathLookup, SeveralSpellingsResolveTheSameWayEveryTime) {
  fs::path dir = test::scratchDir("path_lookup_two");
  touch(dir / "b.BMP");
  touch(dir / "B.bmp");
  EXPECT_EQ(resolveDataPath(dir, "b.bmp"), dir / "B.bmp");  // the smaller name
}

TEST(PathLookup, AbsoluteNamesIgnoreTheBase) {
  fs::path dir = test::scratchDir("path_lookup_abs");
  touch(dir / "Sound.wav");
  EXPECT_EQ(resolveDataPath("/elsewhere", (dir / "sound.wav").string()), dir / "Sound.wav");
}

}  // namespace
}  // namespace kestrel
