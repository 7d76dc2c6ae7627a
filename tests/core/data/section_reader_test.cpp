// The shared syntax: key lines, value lines, tables and the one-line-per-pass loop.
#include <gtest/gtest.h>

#include "core/data/key_loop.h"
#include "support/cp932_files.h"

namespace kestrel {
namespace {

using test::readerOf;

TEST(SectionReader, KeyIsComparedOverItsOwnLength) {
  EXPECT_TRUE(isKeyLine("[Station]", "[Station]"));
  EXPECT_TRUE(isKeyLine("[Station] ; 駅の一覧", "[Station]"));
  EXPECT_FALSE(isKeyLine(" [Station]", "[Station]"));
  EXPECT_FALSE(isKeyLine("[station]", "[Station]"));
  EXPECT_FALSE(isKeyLine("[Stati", "[Station]"));
  EXPECT_FALSE(isKeyLine("[Stop2]", "[Stop]"));  // the bracket is part of the key
}

TEST(SectionReader, ValueLinesConvertStrictlyAndFaultAtEndOfFile) {
  auto r = readerOf("12\n1.5\n-0.00015\n12 \n");
  EXPECT_EQ(r.intLine(), 12);
  EXPECT_DOUBLE_EQ(r.decimalLine(), 1.5);
  EXPECT_EQ(r.fixedLine().raw(), -2);
  EXPECT_THROW(r.intLine(), SectionFault);
  EXPECT_EQ(r.line(), "12 ");
  EXPECT_THROW(r.valueLine(), SectionFault);
  EXPECT_EQ(r.line(), "12 ");  // the line read last stays for the message
}

TEST(SectionReader, TablesEndAtAHashLineWhichIsConsumed) {
  auto r = readerOf("a\nb\n#end\nafter\n");
  std::vector<std::string> rows;
  r.table([&](const std::string& row) { rows.push_back(row); });
  EXPECT_EQ(rows, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(r.line(), "#end");
  EXPECT_EQ(r.valueLine(), "after");

  auto empty = readerOf("#\n");
  empty.table([&](const std::string&) { ADD_FAILURE() << "an empty table has no rows"; });

  auto open = readerOf("a\n");
  EXPECT_THROW(open.table([](const std::string&) {}), SectionFault);
}

TEST(SectionReader, SemicolonRowsAreSkippedOnlyWhenAsked) {
  auto r = readerOf(";comment\n1\n#\n;kept\n#\n");
  std::vector<std::string> rows;
  r.table([&](const std::string& row) { rows.push_back(row); }, true);
  r.table([&](const std::string& row) { rows.push_back(row); });
  EXPECT_EQ(rows, (std::vector<std::string>{"1", ";kept"}));
}

TEST(SectionReader, MissingFieldsReadErrorAndFailConversion) {
  auto r = readerOf("name,5\n");
  r.nextLine();
  EXPECT_EQ(r.textField(1), "name");
  EXPECT_EQ(r.intField(2), 5);
  EXPECT_EQ(r.textField(3), "Error");
  EXPECT_THROW(r.intField(3), SectionFault);
  EXPECT_THROW(r.decimalField(3), SectionFault);
}

TEST(SectionReader, MalformedBytesFaultOnlyWhereTheLineIsUsed) {
  // Line 1 is a comment with a cut-off character, line 3 a value, line 5 a row, line 6 ends the table.
  std::string bytes = "\x83\x52\x83\r\n12\r\nab\x82\r\n[T]\r\nrow\x82\r\n#\x82\r\n";
  auto r = SectionReader::fromBytes(bytes);
  r.nextLine();  // a line the loop only tests against keys
  EXPECT_EQ(r.intLine(), 12);
  EXPECT_THROW(r.valueLine(), SectionFault);
  r.nextLine();
  EXPECT_THROW(r.table([](const std::string&) {}), SectionFault);
  r.nextLine();
  EXPECT_EQ(r.line().front(), '#');
}

// A file with three keys in a fixed order, to watch the loop.
struct LoopContext {
  SectionReader& r;
  std::vector<std::string> seen;
};

constexpr KeyRule<LoopContext> kRules[] = {
    {"[A]", {}, [](LoopContext& c) { c.seen.push_back("A=" + c.r.valueLine()); }},
    {"[B]", "label B", [](LoopContext& c) { c.seen.push_back("B=" + std::to_string(c.r.intLine())); }},
    {"[C]", {}, [](LoopContext& c) { c.seen.push_back("C=" + c.r.valueLine()); }},
};

TEST(KeyLoop, LaterKeysInThePassSeeTheLineReadLast) {
  // [A]'s value line is itself "[C]...", so the same pass takes it as [C] and reads "x" for it;
  // a line that matches no key is skipped.
  auto r = readerOf("[A]\n[C] value\nx\n[B]\n7\n free text\n[A]\nplain\n");
  LoopContext c{r, {}};
  std::string label;
  runKeyLoop<LoopContext>(r, kRules, c, "start", label);
  EXPECT_EQ(c.seen, (std::vector<std::string>{"A=[C] value", "C=x", "B=7", "A=plain"}));
}

TEST(KeyLoop, LabelIsTheLastLabelledKeyTestedInThePass) {
  std::string label;
  auto faultAt = [&](const char* text) {
    auto r = readerOf(text);
    LoopContext c{r, {}};
    try {
      runKeyLoop<LoopContext>(r, kRules, c, "start", label);
    } catch (const SectionFault&) {
      return label;
    }
    return std::string("no fault");
  };
  EXPECT_EQ(faultAt("[A]\n"), "start");      // [A] is tested before [B] sets its label
  EXPECT_EQ(faultAt("[B]\nx\n"), "label B");
  EXPECT_EQ(faultAt("[C]\n"), "label B");    // carried over from [B]'s test
  EXPECT_EQ(faultAt("[C]\nv\n[A]\n"), "start");  // reset at the start of every pass
}

}  // namespace
}  // namespace kestrel
