// The frame count of an AVI file from its headers, on files written byte by byte: the video
// stream's length, the main header as the fallback, padding, and files that are no AVI.
#include "core/ports/avi_frame_count_reader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

std::string le32(uint32_t v) {
  return {static_cast<char>(v & 0xff), static_cast<char>(v >> 8 & 0xff), static_cast<char>(v >> 16 & 0xff),
          static_cast<char>(v >> 24 & 0xff)};
}
std::string chunk(const std::string& id, const std::string& body) {
  std::string c = id + le32(static_cast<uint32_t>(body.size())) + body;
  if (body.size() % 2) c += '\0';
  return c;
}
std::string list(const std::string& type, const std::string& body) {
  return chunk("LIST", type + body);
}
std::string avih(uint32_t totalFrames) {
  std::string h(56, '\0');
  h.replace(16, 4, le32(totalFrames));
  return chunk("avih", h);
}
std::string strh(const std::string& type, uint32_t length) {
  std::string h(56, '\0');
  h.replace(0, 4, type);
  h.replace(32, 4, le32(length));
  return chunk("strh", h);
}
std::string riff(const std::string& body) {
  return "RIFF" + le32(static_cast<uint32_t>(body.size() + 4)) + "AVI " + body;
}

struct AviTest : ::testing::Test {
  fs::path dir = test::scratchDir(std::string("avi_frame_count_") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::path write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return dir / name;
  }
};

TEST_F(AviTest, TheVideoStreamsLengthCountsAndTheMainHeaderStandsIn) {
  // An odd-sized chunk before the streams (padded), an audio stream before the video stream.
  const std::string headers =
      list("hdrl", avih(100) + chunk("JUNK", "abc") + list("strl", strh("auds", 999) + chunk("strf", "x")) +
                       list("strl", strh("vids", 123)));
  EXPECT_EQ(aviFrameCount(write("a.avi", riff(headers + list("movi", "")))), 123);
  EXPECT_EQ(aviFrameCount(write("b.avi", riff(list("hdrl", avih(77))))), 77);
  // Cut off after the headers: they still say how long the movie is.
  const std::string whole = riff(headers + list("movi", std::string(4000, 'x')));
  EXPECT_EQ(aviFrameCount(write("c.avi", whole.substr(0, 12 + headers.size() + 20))), 123);
}

TEST_F(AviTest, FilesThatAreNoAviHaveNoCount) {
  EXPECT_EQ(aviFrameCount(dir / "missing.avi"), std::nullopt);
  EXPECT_EQ(aviFrameCount(write("wave.avi", "RIFF" + le32(4) + "WAVE")), std::nullopt);
  EXPECT_EQ(aviFrameCount(write("short.avi", "RIF")), std::nullopt);
  EXPECT_EQ(aviFrameCount(write("empty.avi", riff(list("hdrl", "")))), std::nullopt);
  // A chunk that claims more than its list holds ends the scan.
  EXPECT_EQ(aviFrameCount(write("bad.avi", riff("LIST" + le32(9999) + "hdrl" + avih(5)))), std::nullopt);
}

TEST_F(AviTest, TheReaderReportsTheCountAndDecodesNothing) {
  AviFrameCountReader r;
  EXPECT_FALSE(r.open(dir / "missing.avi"));
  EXPECT_FALSE(r.isOpen());
  ASSERT_TRUE(r.open(write("a.avi", riff(list("hdrl", avih(10) + list("strl", strh("vids", 42)))))));
  EXPECT_TRUE(r.isOpen());
  EXPECT_EQ(r.frameCount(), 42);
  Picture p;
  EXPECT_FALSE(r.decodeFrame(1, p));
  EXPECT_TRUE(p.empty());
  r.close();
  EXPECT_EQ(r.frameCount(), 0);
}

}  // namespace
}  // namespace kestrel
