#include <gtest/gtest.h>

#include <QImage>

#include <fstream>

#include "platform/qt/qt_picture_loader.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

fs::path fixture(const char* name) { return test::sourceDir() / "tests/fixtures/content" / name; }

TEST(QtPictureLoader, DecodesBmpPngAndJpegInto0xAARRGGBB) {
  QtPictureLoader loader;
  auto png = loader.load(fixture("image/panel/panel.png"));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 200);
  EXPECT_EQ(png->height, 40);
  EXPECT_EQ(png->bottomLeft(), 0xFF0A141Eu);
  EXPECT_EQ(png->at(5, 5), 0xFF3C3C46u);

  auto bmp = loader.load(fixture("image/panel/needle.bmp"));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->pixels.size(), 6u * 40u);
  EXPECT_EQ(bmp->bottomLeft(), 0xFFFF00FFu);
  EXPECT_EQ(bmp->at(0, 0), 0xFFFAFAFAu);  // top row first

  auto jpeg = loader.load(fixture("image/staf/staf_local.jpg"));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->width, 120);
  EXPECT_EQ(jpeg->height, 200);
  EXPECT_EQ(jpeg->at(60, 100) >> 24, 0xFFu);
}

TEST(QtPictureLoader, KeepsAlphaUnpremultipliedAndDecodesByContent) {
  fs::path dir = test::scratchDir("qt_picture_loader");
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(0xFF000000);
  image.setPixel(1, 0, 0x80FF4020);
  // A PNG named .bmp, as authors' files sometimes are, in a folder with a Japanese name.
  fs::create_directories(dir / "画像");
  ASSERT_TRUE(image.save(QString::fromStdString((dir / "画像" / "alpha.bmp").string()), "PNG"));
  QtPictureLoader loader;
  auto picture = loader.load(dir / "画像" / "alpha.bmp");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->at(1, 0), 0x80FF4020u);
  EXPECT_EQ(picture->at(2, 1), 0xFF000000u);
}

TEST(QtPictureLoader, MissingOrUndecodableFilesGiveNothing) {
  fs::path dir = test::scratchDir("qt_picture_loader_bad");
  std::ofstream(dir / "garbage.bmp", std::ios::binary) << "BM this is not a bitmap";
  std::ifstream whole(fixture("image/sign/teimoku.bmp"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(whole)), {});
  std::ofstream(dir / "cut.bmp", std::ios::binary) << bytes.substr(0, 60);
  QtPictureLoader loader;
  EXPECT_FALSE(loader.load(dir / "missing.bmp"));
  EXPECT_FALSE(loader.load(dir / "garbage.bmp"));
  EXPECT_FALSE(loader.load(dir / "cut.bmp"));
  EXPECT_FALSE(loader.load(dir));
}

}  // namespace
}  // namespace kestrel
