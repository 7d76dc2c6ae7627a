#include "core/grade/grade_preferences.h"

#include "core/data/settings_loader.h"

namespace kestrel::grade {

GradePreferences readGradePreferences(PreferenceStore& store) {
  GradePreferences p;
  auto key = store.openKey(kPreferenceKeyPath);
  if (!key) return p;
  p.mode = key->readInt(kModePreference).value_or(0) == 1 ? GradeMode::Exam : GradeMode::Practice;
  p.brakeGuidance = key->readInt(kGuidancePreference).value_or(0) == 1;
  return p;
}

void writeGradePreferences(PreferenceStore& store, const GradePreferences& p) {
  auto key = store.openKey(kPreferenceKeyPath);
  if (!key) return;
  key->writeInt(kModePreference, p.mode == GradeMode::Exam ? 1 : 0);
  key->writeInt(kGuidancePreference, p.brakeGuidance ? 1 : 0);
}

}  // namespace kestrel::grade
