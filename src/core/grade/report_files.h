#pragma once
// The grading as files: the report as JSON (kestrel-run --report, the debrief's "Save report…")
// and the events as CSV. The same report gives the same bytes.
#include <string>

#include "core/grade/grade_report.h"

namespace kestrel::grade {

// One JSON document: score (null for a void exam), mode, examVoid, line, stations (index, name,
// stop, stopErrorCm, arrivalDeltaS, departureDeltaS; null where not applicable) and events (t in
// seconds of drive time, frame, distanceCm, kind, points, text), with a final line break.
std::string reportJson(const GradeReport& report);

// RFC 4180, UTF-8, a header row, one row per event: t_s, frame, distance_m, kind, points, text.
std::string eventsCsv(const GradeReport& report);

}  // namespace kestrel::grade
