#include "tools/author/gpx_track.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <pugixml.hpp>
#include <string>

#include "tools/author/author_error.h"
#include "tools/author/input_file.h"
#include "tools/author/iso_time.h"

namespace kestrel::author {

namespace {

// The name without a namespace prefix ("gpx:trkpt" is a trkpt too).
std::string_view localName(const pugi::xml_node& node) {
  std::string_view name = node.name();
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& node, std::string_view name) {
  for (pugi::xml_node c : node.children())
    if (c.type() == pugi::node_element && localName(c) == name) return c;
  return {};
}

class LineIndex {
 public:
  explicit LineIndex(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') breaks_.push_back(i);
  }
  int32_t lineOf(ptrdiff_t offset) const {
    if (offset < 0) return 0;
    return static_cast<int32_t>(std::lower_bound(breaks_.begin(), breaks_.end(), static_cast<size_t>(offset)) -
                                breaks_.begin()) + 1;
  }

 private:
  std::vector<size_t> breaks_;
};

std::optional<double> number(const pugi::xml_attribute& a) {
  if (!a) return std::nullopt;
  const char* text = a.value();
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v;
}

void collectPoints(const pugi::xml_node& node, std::vector<pugi::xml_node>& points) {
  for (pugi::xml_node c : node.children()) {
    if (c.type() != pugi::node_element) continue;
    if (localName(c) == "trkpt")
      points.push_back(c);
    else if (localName(c) == "trk" || localName(c) == "trkseg")
      collectPoints(c, points);
  }
}

}  // namespace

std::vector<TrackPoint> parseGpx(const std::string& text, const std::string& fileName) {
  const LineIndex lines(text);
  auto at = [&](ptrdiff_t offset) { return fileName + ":" + std::to_string(lines.lineOf(offset)) + ": "; };

  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size());
  if (!parsed) throw AuthorError(at(parsed.offset) + "not a GPX file: " + parsed.description());
  const pugi::xml_node gpx = doc.document_element();
  if (localName(gpx) != "gpx") throw AuthorError(fileName + ": not a GPX file: the document is no <gpx>");

  std::vector<pugi::xml_node> nodes;
  collectPoints(gpx, nodes);
  const bool anyTime = std::any_of(nodes.begin(), nodes.end(), [](const pugi::xml_node& n) { return child(n, "time"); });
  if (!nodes.empty() && !anyTime)
    throw AuthorError(fileName + ": the track has no time stamps: record it with times (<time> in every <trkpt>)");

  std::vector<TrackPoint> points;
  for (const pugi::xml_node& n : nodes) {
    const ptrdiff_t offset = n.offset_debug();
    const auto lat = number(n.attribute("lat"));
    const auto lon = number(n.attribute("lon"));
    if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180)
      throw AuthorError(at(offset) + "a track point without a valid lat and lon");
    const pugi::xml_node timeNode = child(n, "time");
    if (!timeNode) throw AuthorError(at(offset) + "a track point without a time stamp");
    const auto time = parseIsoTime(timeNode.text().get());
    if (!time)
      throw AuthorError(at(timeNode.offset_debug()) + "not a time: \"" + std::string(timeNode.text().get()) + "\"");
    if (!points.empty() && *time < points.back().time)
      throw AuthorError(at(offset) + "the time goes backwards: " + formatIsoTime(*time) + " after " +
                        formatIsoTime(points.back().time) + " (line " + std::to_string(points.back().line) + ")");
    if (!points.empty() && *time == points.back().time) continue;
    points.push_back({*lat, *lon, *time, lines.lineOf(offset)});
  }
  if (points.size() < 2)
    throw AuthorError(fileName + ": the track has " + std::to_string(points.size()) +
                      (points.size() == 1 ? " point" : " points") + " with a time of its own; at least two are needed");
  return points;
}

std::vector<TrackPoint> readGpx(const std::filesystem::path& path) {
  return parseGpx(readInputFile(path), path.string());
}

}  // namespace kestrel::author
