// The texts over the movie: places and sizes from W and H rounded separately (ties to even), the
// black shadow offset, the draw order (shadows of the set, then whites), the conditional texts,
// the commentary message in both modes centred on the width of the previous draw; the text-mode
// labels; the kilometre post of the two built-in trains.
#include "core/present/overlay_layout.h"

#include <gtest/gtest.h>

#include "core/present/kilometre_post.h"
#include "support/drive_rig.h"
#include "support/fake_text_metrics.h"

namespace kestrel {
namespace {

struct OverlayTest : ::testing::Test {
  test::DriveRig rig;
  Preferences preferences;
  test::FakeTextMetrics metrics;
  OverlayExtents extents{};

  void SetUp() override {
    preferences.NoCommentary = 0;
    rig.train.speedText = " 45.0 km/h";
    rig.control.reverserText = "F";
    rig.control.powerText = "P3";
    rig.control.brakeText = "N";
    rig.control.modeText = "M";
    rig.train.stations.doorText = "D";
    rig.train.stations.stationText = "S";
    rig.train.stations.clockText = "10:00:00";
  }
  std::vector<OverlayText> lay(int32_t W = 800, int32_t H = 600) {
    return layOutOverlay(rig.c(), preferences, W, H, metrics, extents);
  }
  static const OverlayText* white(const std::vector<OverlayText>& texts, OverlaySlot slot) {
    for (const auto& t : texts)
      if (t.slot == slot && t.rgb == kTextWhite) return &t;
    return nullptr;
  }
  static const OverlayText* black(const std::vector<OverlayText>& texts, OverlaySlot slot) {
    for (const auto& t : texts)
      if (t.slot == slot && t.rgb == kTextBlack) return &t;
    return nullptr;
  }
};

TEST_F(OverlayTest, PlacesAndSizesOnAnEightHundredBySixHundredView) {
  const auto texts = lay();
  auto at = [&](OverlaySlot s) {
    const OverlayText* t = white(texts, s);
    return t ? std::tuple{t->x, t->y, t->pointSize} : std::tuple{-1, -1, -1};
  };
  EXPECT_EQ(at(OverlaySlot::Speed), std::tuple(640, 504, 16));
  EXPECT_EQ(at(OverlaySlot::Reverser), std::tuple(640, 552, 14));  // 0.017 W = 13.6
  EXPECT_EQ(at(OverlaySlot::Power), std::tuple(696, 552, 14));
  EXPECT_EQ(at(OverlaySlot::Brake), std::tuple(736, 552, 14));
  EXPECT_EQ(at(OverlaySlot::Label3), std::tuple(576, 552, 14));
  EXPECT_EQ(at(OverlaySlot::Door), std::tuple(8, 480, 14));
  EXPECT_EQ(at(OverlaySlot::Station), std::tuple(8, 516, 14));
  EXPECT_EQ(at(OverlaySlot::Clock), std::tuple(8, 552, 14));
  // The shadow: black, d = round(1.6) = 2 to the right and down.
  const OverlayText* shadow = black(texts, OverlaySlot::Speed);
  ASSERT_TRUE(shadow);
  EXPECT_EQ(std::tuple(shadow->x, shadow->y), std::tuple(642, 506));
  // Empty conditional texts and the one-man text of a line with a conductor are not drawn.
  for (OverlaySlot s : {OverlaySlot::NextLimit, OverlaySlot::LimitNotice, OverlaySlot::Label8,
                        OverlaySlot::Label9, OverlaySlot::OneMan, OverlaySlot::Message})
    EXPECT_FALSE(white(texts, s));
}

TEST_F(OverlayTest, ShadowsOfTheSetComeBeforeItsWhites) {
  const auto texts = lay();
  std::vector<std::pair<OverlaySlot, uint32_t>> order;
  for (const auto& t : texts) order.emplace_back(t.slot, t.rgb);
  // The speed text on its own first, then the shadows of all the rest, then their whites.
  ASSERT_GE(order.size(), 4u);
  EXPECT_EQ(order[0], std::pair(OverlaySlot::Speed, kTextBlack));
  EXPECT_EQ(order[1], std::pair(OverlaySlot::Speed, kTextWhite));
  const size_t rest = (order.size() - 2) / 2;
  for (size_t i = 0; i < rest; ++i) {
    EXPECT_EQ(order[2 + i].second, kTextBlack);
    EXPECT_EQ(order[2 + rest + i].second, kTextWhite);
    EXPECT_EQ(order[2 + i].first, order[2 + rest + i].first);
  }
  EXPECT_EQ(rest, 7u);  // reverser, power, brake, Label3, door, station, clock
}

TEST_F(OverlayTest, ConditionalTextsAndTheTwoPlacesOfLabelNine) {
  rig.train.texts.nextLimit = "300m 45km/h ";
  rig.train.texts.limitNotice = ")45km/h ";
  rig.train.texts.label9 = "9";
  auto texts = lay();
  EXPECT_EQ(white(texts, OverlaySlot::NextLimit)->y, 468);
  EXPECT_EQ(white(texts, OverlaySlot::NextLimit)->x, 560);
  EXPECT_EQ(white(texts, OverlaySlot::LimitNotice)->y, 432);
  EXPECT_EQ(white(texts, OverlaySlot::Label9)->y, 444);  // without Label8: y1 = 480 - 36
  rig.train.texts.label8 = "120m";
  texts = lay();
  EXPECT_EQ(white(texts, OverlaySlot::Label8)->y, 444);
  EXPECT_EQ(white(texts, OverlaySlot::Label9)->y, 408);  // one line higher
  rig.line.OneMan = 1;
  rig.keys.oneManText = "閉";
  texts = lay();
  EXPECT_EQ(white(texts, OverlaySlot::OneMan)->x, 120);
}

TEST_F(OverlayTest, TheMessageIsCentredOnItsPreviousWidth) {
  rig.train.texts.message = "abcdefghij";  // 10 bytes: 60 px at size 12
  auto texts = lay();
  const OverlayText* m = white(texts, OverlaySlot::Message);
  ASSERT_TRUE(m);
  EXPECT_EQ(std::tuple(m->x, m->y, m->pointSize), std::tuple(400, 30, 12));  // nothing measured yet
  EXPECT_EQ(texts.front().rgb, kTextBlack);  // the message comes first, shadow first
  EXPECT_EQ(extents[static_cast<size_t>(OverlaySlot::Message)].width, 60);
  texts = lay();
  EXPECT_EQ(white(texts, OverlaySlot::Message)->x, 370);
  rig.train.texts.message = "abcde";  // the first draw of a new text still uses the old width
  texts = lay();
  EXPECT_EQ(white(texts, OverlaySlot::Message)->x, 370);
  texts = lay();
  EXPECT_EQ(white(texts, OverlaySlot::Message)->x, 385);
}

TEST_F(OverlayTest, TextModeDrawsOnlyTheMessageLowDownAndNoCommentaryNone) {
  rig.train.texts.message = "m";
  preferences.TextMode = 1;
  auto texts = lay();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].slot, OverlaySlot::Message);
  EXPECT_EQ(texts[1].y, 540);  // 0.9 H
  preferences.NoCommentary = 1;
  EXPECT_TRUE(lay().empty());
  preferences.TextMode = 0;
  EXPECT_FALSE(white(lay(), OverlaySlot::Message));
}

TEST_F(OverlayTest, EveryProductIsRoundedOnItsOwnTiesToEven) {
  rig.train.texts.message = "abcde";  // 5 bytes x 4 / 2 = 10 px at size round(3.75) = 4
  lay(250, 250);
  extents[static_cast<size_t>(OverlaySlot::Message)].width = 25;
  const auto texts = lay(250, 250);
  const OverlayText* m = white(texts, OverlaySlot::Message);
  // x = round(125) - round(12.5) = 125 - 12; y = round(12.5) = 12; d = round(0.5) = 0.
  EXPECT_EQ(std::tuple(m->x, m->y), std::tuple(113, 12));
  EXPECT_EQ(black(texts, OverlaySlot::Message)->x, 113);
  EXPECT_EQ(white(texts, OverlaySlot::Speed)->pointSize, 5);  // 0.02 W
  EXPECT_EQ(white(texts, OverlaySlot::Door)->x, 2);           // round(2.5)
  EXPECT_EQ(white(texts, OverlaySlot::Station)->y, 215);      // round(0.86 x 250) = round(215)
  EXPECT_EQ(white(texts, OverlaySlot::Clock)->y, 230);
}

TEST_F(OverlayTest, TheLabelsOfTextMode) {
  rig.train.distanceText = "611 m";
  rig.train.texts.label8 = "8";
  rig.train.texts.nextLimit = "10";
  rig.keys.oneManText = "閉";
  rig.line.Station.resize(2);
  rig.line.Station[0].name = "鷹見";
  rig.line.Station[1].name = "東鷹見";
  rig.train.stations.currentStation = 0;
  rig.train.stations.nextStopStation = 1;
  auto labels = labelTexts(rig.c());
  EXPECT_EQ(labels[0], "F");
  EXPECT_EQ(labels[1], "P3");
  EXPECT_EQ(labels[4], "S");
  EXPECT_EQ(labels[5], "D");
  EXPECT_EQ(labels[6], "");  // a line with a conductor has no one-man text
  EXPECT_EQ(labels[7], "10:00:00");
  EXPECT_EQ(labels[8], "8");
  EXPECT_EQ(labels[10], "10");
  EXPECT_EQ(labels[11], " 45.0 km/h");
  EXPECT_EQ(labels[12], "611 m");
  EXPECT_EQ(labels[13], "鷹見");
  EXPECT_EQ(labels[14], "東鷹見");
  rig.line.OneMan = 2;
  rig.train.stations.nextStopStation = 7;  // no such station
  labels = labelTexts(rig.c());
  EXPECT_EQ(labels[6], "閉");
  EXPECT_EQ(labels[14], "");
}

TEST(KilometrePostTest, TwoBuiltInTrainsShowItFallingByATenthPerHundredMetres) {
  auto post = kilometrePost("train_313-1000_8cars.dat", 0);
  ASSERT_TRUE(post);
  EXPECT_EQ(post->text, "396.9");
  EXPECT_EQ(post->rgb, 0xAAAAAAu);
  EXPECT_EQ(post->pointSize, 8);
  EXPECT_EQ(std::tuple(post->x, post->y), std::tuple(490, 91));
  EXPECT_EQ(kilometrePost("train_313-1000_10cars.dat", 10000)->text, "396.8");
  post = kilometrePost("train_383.dat", 39690000 + 50000);  // past the zero post
  ASSERT_TRUE(post);
  EXPECT_EQ(post->text, "-0.5");
  EXPECT_EQ(post->rgb, 0x888888u);
  EXPECT_EQ(post->pointSize, 7);
  EXPECT_EQ(std::tuple(post->x, post->y), std::tuple(580, 94));
  EXPECT_FALSE(kilometrePost("train_kiha25.dat", 0));
  EXPECT_FALSE(kilometrePost("my_313.dat", 0));  // "313" must stand at the 7th character
  EXPECT_FALSE(kilometrePost("train_31", 0));
  EXPECT_TRUE(kilometrePost("xxxxxx383", 0));
}

}  // namespace
}  // namespace kestrel
