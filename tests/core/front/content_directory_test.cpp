// The content search every program shares: its order, the XDG rules, and the report of a search
// that found nothing.
#include "core/front/content_directory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

// A prefix with bin/ and share/kestrel, a home, an XDG data home, a $KESTREL_DATA folder and a
// working directory, each empty until a test puts railvane.dat in it.
struct Tree {
  fs::path root;
  ContentEnvironment env;

  explicit Tree(const std::string& name) : root(test::scratchDir("content_" + name)) {
    for (const char* d :
         {"prefix/bin", "prefix/share/kestrel", "home/.local/share/kestrel", "xdg/kestrel", "mine", "cwd"})
      fs::create_directories(root / d);
    env.kestrelData = (root / "mine").string();
    env.xdgDataHome = (root / "xdg").string();
    env.home = (root / "home").string();
    env.executableDirectory = root / "prefix/bin";
    env.workingDirectory = root / "cwd";
  }
  void settle(const std::string& folder) const { std::ofstream(root / folder / "railvane.dat") << "[x]\n"; }
};

struct OrderCase {
  std::vector<std::string> holding;  // folders that hold railvane.dat
  std::string winner;                // "" for none
  size_t searched;
};

class ContentOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ContentOrder, TheFirstFolderHoldingRailvaneDatWins) {
  const OrderCase& c = GetParam();
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();  // "Name/3"
  Tree t("order_" + name.substr(name.rfind('/') + 1));
  for (const auto& f : c.holding) t.settle(f);
  const ContentLocation where = locateContent({}, t.env);
  if (c.winner.empty()) {
    EXPECT_FALSE(where.directory.has_value());
  } else {
    ASSERT_TRUE(where.directory.has_value());
    EXPECT_TRUE(fs::equivalent(*where.directory, t.root / c.winner)) << *where.directory;
  }
  EXPECT_EQ(where.searched.size(), c.searched);
  EXPECT_FALSE(where.fromOption);
  // $KESTREL_DATA is set in every case: passing it over for another folder is said.
  if (c.winner.empty() || c.winner == "mine")
    EXPECT_EQ(skippedVariableNote(where), "");
  else
    EXPECT_EQ(skippedVariableNote(where), "$KESTREL_DATA (" + (t.root / "mine").string() +
                                              ") holds no railvane.dat; using " + where.directory->string() +
                                              "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Search, ContentOrder,
    ::testing::Values(OrderCase{{"mine", "xdg/kestrel", "prefix/share/kestrel", "cwd"}, "mine", 1},
                      OrderCase{{"xdg/kestrel", "prefix/share/kestrel", "cwd"}, "xdg/kestrel", 2},
                      // $XDG_DATA_HOME is set, so ~/.local/share is not looked at.
                      OrderCase{
                          {"home/.local/share/kestrel", "prefix/share/kestrel"}, "prefix/share/kestrel", 3},
                      OrderCase{{"cwd"}, "cwd", 4}, OrderCase{{}, "", 4}));

TEST(ContentDirectory, XdgDataHomeFallsBackToTheHomeWhenUnsetOrRelative) {
  Tree t("xdg_fallback");
  t.settle("home/.local/share/kestrel");
  t.settle("xdg/kestrel");
  for (const std::string xdg : {"", "xdg"}) {
    t.env.xdgDataHome = xdg;
    const ContentLocation where = locateContent({}, t.env);
    ASSERT_TRUE(where.directory.has_value()) << xdg;
    EXPECT_TRUE(fs::equivalent(*where.directory, t.root / "home/.local/share/kestrel"));
    EXPECT_EQ(where.searched[1].origin, "~/.local/share/kestrel");
  }
  // Without a home and an executable folder, only $KESTREL_DATA and the working directory remain.
  t.env.xdgDataHome.clear();
  t.env.home.clear();
  t.env.executableDirectory.clear();
  EXPECT_EQ(locateContent({}, t.env).searched.size(), 2u);
}

TEST(ContentDirectory, DataOptionIsTheOnlyFolderAndKeepsTheMessageAlone) {
  Tree t("option");
  t.settle("cwd");
  ContentLocation where = locateContent(t.root / "mine", t.env);
  EXPECT_FALSE(where.directory.has_value());
  ASSERT_EQ(where.searched.size(), 1u);
  EXPECT_EQ(where.searched[0].origin, "--data");
  EXPECT_TRUE(where.fromOption);
  EXPECT_EQ(searchedFoldersReport(where), "");

  t.settle("mine");
  where = locateContent(t.root / "mine", t.env);
  EXPECT_EQ(where.directory, t.root / "mine");
}

TEST(ContentDirectory, ANotFoundReportListsEveryFolderWithWhyItWasSearched) {
  Tree t("report");
  t.env.kestrelData = "../mine/./";  // relative: from the working directory
  const ContentLocation where = locateContent({}, t.env);
  ASSERT_FALSE(where.directory.has_value());
  const std::string r = t.root.string();
  EXPECT_EQ(searchedFoldersReport(where),
            "railvane.dat is in none of these folders (--data DIR names another):\n"
            "  " +
                r +
                "/mine/  ($KESTREL_DATA)\n"
                "  " +
                r +
                "/xdg/kestrel  ($XDG_DATA_HOME/kestrel)\n"
                "  " +
                r +
                "/prefix/share/kestrel  (installed with the program)\n"
                "  " +
                r + "/cwd  (the working directory)\n");
}

}  // namespace
}  // namespace kestrel
