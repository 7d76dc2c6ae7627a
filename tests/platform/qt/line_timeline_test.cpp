// The timeline of the fixture line: an SVG document that parses, with one mark for each station
// and each signal (told apart by their colours), and nothing for a place without a distance.
#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <vector>

#include "core/data/line_distances.h"
#include "core/data/line_loader.h"
#include "platform/qt/line_timeline.h"
#include "support/fake_picture_loader.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

// The marks of each fill colour: a circle inside a group filled with that colour.
std::map<QString, int> marksByColour(const QByteArray& svg) {
  std::map<QString, int> marks;
  QXmlStreamReader xml(svg);
  std::vector<QString> fills;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == u"g") fills.push_back(xml.attributes().value("fill").toString());
    if (xml.isEndElement() && xml.name() == u"g") fills.pop_back();
    if (xml.isStartElement() && xml.name() == u"circle" && !fills.empty()) ++marks[fills.back()];
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return marks;
}

TEST(LineTimeline, OneMarkForEachStationAndSignal) {
  test::FakePictureLoader pictures;
  LineData line;
  PictureCatalog catalog;
  const auto content = test::sourceDir() / "tests/fixtures/content";
  loadLineFile(content / "line_local.dat", {content, "train_313-1000_10cars.dat", 800, 600, pictures}, line, catalog);
  convertLineDistances(line);
  ASSERT_EQ(line.Station.size(), 4u);
  ASSERT_EQ(line.Signal.size(), 3u);

  auto marks = marksByColour(lineTimelineSvg(line));
  EXPECT_EQ(marks[timeline::kStationColor.name()], 4);
  EXPECT_EQ(marks[timeline::kSignalColor.name()], 3);

  // A signal beyond every [SpeedUnit] row has no distance: it is not drawn at 0.
  line.Signal.back().f(6) = line.SpeedUnit.back().end + 500;
  marks = marksByColour(lineTimelineSvg(line));
  EXPECT_EQ(marks[timeline::kSignalColor.name()], 2);
}

}  // namespace
}  // namespace kestrel
