// operation.dat: the caption line and the text lines.
#include "core/front/help_text.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/util/cp932.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

TEST(HelpText, TheFirstLineIsTheCaptionAndTheRestTheText) {
  HelpText h = parseHelpText(encodeCp932("操作説明\r\n【ハンドル】\r\n\r\n8: 力行\r\n"));
  EXPECT_EQ(h.caption, "操作説明");
  EXPECT_EQ(h.lines, (std::vector<std::string>{"【ハンドル】", "", "8: 力行"}));
  h = parseHelpText(encodeCp932("ひとこと"));
  EXPECT_EQ(h.caption, "ひとこと");
  EXPECT_TRUE(h.lines.empty());
  EXPECT_EQ(parseHelpText("").caption, "Help");
}

TEST(HelpText, AMissingFileKeepsTheWindowsOwnCaption) {
  EXPECT_EQ(readHelpText(test::scratchDir("help_missing")), std::nullopt);
  const auto dir = test::scratchDir("help_present");
  {
    std::ofstream out(dir / "operation.dat", std::ios::binary);
    out << encodeCp932("操作説明\r\n一行目\r\n");
  }
  const auto h = readHelpText(dir);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(h->caption, "操作説明");
  EXPECT_EQ(h->lines, std::vector<std::string>{"一行目"});
}

}  // namespace
}  // namespace kestrel
