// Comma fields and CP932 decoding.
#include <gtest/gtest.h>

#include "core/util/comma_fields.h"
#include "core/util/cp932.h"

namespace kestrel {
namespace {

TEST(CommaFields, FieldNRunsBetweenCommasTheLastToTheEnd) {
  EXPECT_EQ(commaField("a,b,c", 1), "a");
  EXPECT_EQ(commaField("a,b,c", 3), "c");
  EXPECT_EQ(commaField(" a , b", 2), " b");  // nothing trimmed
  EXPECT_EQ(commaField("a,,c", 2), "");
  EXPECT_EQ(commaField("a,b,", 3), "");
  EXPECT_EQ(commaField("", 1), "");
  EXPECT_EQ(commaField("a,b", 3), "Error");
  EXPECT_EQ(commaField("a,b", 0), "Error");
  EXPECT_EQ(commaFieldCount("a,,c,"), 4);
  EXPECT_EQ(commaFieldCount(""), 1);
}

TEST(Cp932, CrlfLfAndABareCrEndLinesAndAreNeverPartOfThem) {
  auto lines = decodeCp932Lines("one\r\ntwo\nthree");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "one");
  EXPECT_EQ(lines[1].text, "two");
  EXPECT_EQ(lines[2].text, "three");
  EXPECT_TRUE(decodeCp932Lines("").empty());
  ASSERT_EQ(decodeCp932Lines("\r\n").size(), 1u);
  EXPECT_EQ(decodeCp932Lines("\r\n")[0].text, "");
  // A file written with bare carriage returns reads line by line.
  auto cr = decodeCp932Lines("[Tons]\r330.25\r\r#\r");
  ASSERT_EQ(cr.size(), 4u);
  EXPECT_EQ(cr[0].text, "[Tons]");
  EXPECT_EQ(cr[1].text, "330.25");
  EXPECT_EQ(cr[2].text, "");
  EXPECT_EQ(cr[3].text, "#");
}

TEST(Cp932, WindowsCharactersDecodeAsWindowsWritesThem) {
  // 0x8160 is U+FF5E (fullwidth tilde) in CP932, not the wave dash; 0x8740 is ①, 0x5C a backslash.
  auto lines = decodeCp932Lines("\x81\x60\r\n\x87\x40\r\nimage\\a.bmp\r\n\x83\x5c");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text, "～");
  EXPECT_EQ(lines[1].text, "①");
  EXPECT_EQ(lines[2].text, "image\\a.bmp");
  EXPECT_EQ(lines[3].text, "ソ");  // a trail byte of 0x5C is not a separator
  for (const auto& l : lines) EXPECT_FALSE(l.malformed);
  EXPECT_EQ(encodeCp932("～①ソ"), "\x81\x60\x87\x40\x83\x5c");
  // Single bytes that Windows accepts and glibc's table lacks: U+0080 and U+F8F0-U+F8F3.
  bool malformed = true;
  EXPECT_EQ(decodeCp932("a\x80\xa0\xfd\xfe\xff\x82\xa0", &malformed),
            "a\u0080\uF8F0\uF8F1\uF8F2\uF8F3あ");
  EXPECT_FALSE(malformed);
}

TEST(Cp932, MalformedSequencesAreReplacedAndReported) {
  // A double-byte character cut off at the end of a line, then a good line.
  auto lines = decodeCp932Lines("AB\x82\r\n\x82\xa0");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "AB\xEF\xBF\xBD");
  EXPECT_TRUE(lines[0].malformed);
  EXPECT_EQ(lines[1].text, "あ");
  EXPECT_FALSE(lines[1].malformed);
  // A lead byte with an invalid trail byte keeps the rest of the line.
  auto bad = decodeCp932Lines("x\x81\x20y");
  EXPECT_TRUE(bad[0].malformed);
  EXPECT_NE(bad[0].text.find(" y"), std::string::npos);
  bool malformed = false;
  EXPECT_EQ(decodeCp932("\x82", &malformed), "\xEF\xBF\xBD");
  EXPECT_TRUE(malformed);
  EXPECT_THROW(encodeCp932("\xF0\x9F\x9A\x83"), std::invalid_argument);  // no CP932 form
}

TEST(Cp932, LongLinesDecodeWhole) {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += "\x82\xa0";  // more than the conversion buffer
  auto lines = decodeCp932Lines(bytes);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text.size(), 9000u);
  EXPECT_FALSE(lines[0].malformed);
}

}  // namespace
}  // namespace kestrel
