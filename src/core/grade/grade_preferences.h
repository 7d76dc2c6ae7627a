#pragma once
// The grading's preferences, kept per user beside the program's own: the mode of the grading and
// the brake guidance. Missing values read as their defaults (practice, no guidance); they are
// written apart from the five original preferences, which fail together.
#include "core/grade/grade_report.h"
#include "core/ports/preference_store.h"

namespace kestrel::grade {

inline constexpr char kModePreference[] = "GradeMode";         // 1: exam
inline constexpr char kGuidancePreference[] = "BrakeGuidance";  // 1: shown

struct GradePreferences {
  GradeMode mode = GradeMode::Practice;
  bool brakeGuidance = false;
};

GradePreferences readGradePreferences(PreferenceStore& store);
// Failures are ignored, as for the other preferences.
void writeGradePreferences(PreferenceStore& store, const GradePreferences& preferences);

}  // namespace kestrel::grade
