#include "core/grade/report_files.h"

#include <nlohmann/json.hpp>

#include "core/grade/grade_texts.h"
#include "core/util/csv_field.h"
#include "core/util/rounding.h"

namespace kestrel::grade {

namespace {

using Json = nlohmann::ordered_json;

Json orNull(const std::optional<int32_t>& v) {
  return v ? Json(*v) : Json(nullptr);
}

// Drive time in seconds, to the tick's tenth; exact in the text JSON writes.
std::string seconds(int64_t us) {
  return texts::decimal(static_cast<double>(us) / 1e6, 1);
}

}  // namespace

std::string reportJson(const GradeReport& r) {
  Json j;
  j["score"] = orNull(r.score);
  j["mode"] = modeName(r.mode);
  j["examVoid"] = r.examVoid;
  j["line"] = r.lineName;
  Json stations = Json::array();
  for (const StationGrade& s : r.stations)
    stations.push_back({{"index", s.index},
                        {"name", s.name},
                        {"stop", s.stop.empty() ? Json(nullptr) : Json(s.stop)},
                        {"stopErrorCm", orNull(s.stopErrorCm)},
                        {"arrivalDeltaS", orNull(s.arrivalDeltaS)},
                        {"departureDeltaS", orNull(s.departureDeltaS)}});
  j["stations"] = std::move(stations);
  Json events = Json::array();
  for (const GradeEvent& e : r.events)
    events.push_back({{"t", Json::parse(seconds(e.timeUs))},
                      {"frame", e.frame},
                      {"distanceCm", roundHalfAway(e.distanceCm)},
                      {"kind", e.kind},
                      {"points", e.points},
                      {"text", e.text}});
  j["events"] = std::move(events);
  return j.dump(2) + "\n";
}

std::string eventsCsv(const GradeReport& r) {
  std::string out = "t_s,frame,distance_m,kind,points,text\r\n";
  for (const GradeEvent& e : r.events)
    out += seconds(e.timeUs) + "," + std::to_string(e.frame) + "," + texts::decimal(e.distanceCm / 100, 2) + "," +
           csvField(e.kind) + "," + std::to_string(e.points) + "," + csvField(e.text) + "\r\n";
  return out;
}

}  // namespace kestrel::grade
