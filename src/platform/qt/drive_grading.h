#pragma once
// The grading of one drive of the desktop program: the grader fed after every tick, the brake
// guidance drawn over the cab view, and the cab window's Display menu entries for them —
// "Debrief…", "Brake guidance" and "Exam mode (from the next drive)". The mode of a drive is the
// preference at its start; the guidance is off in an exam.
//
// Thread contract: GUI thread only, the thread that owns the drive.
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

#include "core/front/cab_window_model.h"
#include "core/grade/brake_guidance.h"
#include "core/grade/grade_preferences.h"
#include "core/grade/grader.h"

class QAction;
class QMenu;

namespace kestrel {

class CabView;

inline constexpr const char* kDebriefItem = "Debrief…";
inline constexpr const char* kBrakeGuidanceItem = "Brake guidance";
inline constexpr const char* kExamModeItem = "Exam mode (from the next drive)";

class DriveGrading final : public QObject {
  Q_OBJECT

 public:
  // Reads the grading preferences from `store` (which must outlive this) and grades the model's
  // drive from its set-up state: make it before the drive starts.
  DriveGrading(CabWindowModel& model, PreferenceStore& store, QObject* parent = nullptr);
  ~DriveGrading() override;

  // The tick observer's part: the grader, then the guidance while it is shown.
  void afterTick();
  // Adds the entries to the cab window's Display menu.
  void extendMenu(QMenu* display);
  // The view the guidance is drawn over; nullptr: none.
  void attachView(CabView* view);

  grade::GradeReport report() const { return grader_.report(); }
  bool gradedAnything() const { return grader_.gradedAnything(); }
  grade::GradeMode mode() const { return grader_.mode(); }
  bool guidanceShown() const;
  const std::optional<grade::BrakeGuidance>& guidance() const { return guidance_; }
  QAction* action(const char* item) const;

 Q_SIGNALS:
  void debriefRequested();

 private:
  void setGuidance(bool on);

  CabWindowModel& model_;
  PreferenceStore& store_;
  grade::GradePreferences preferences_;
  grade::Grader grader_;
  QPointer<CabView> view_;
  std::optional<grade::BrakeGuidance> guidance_;
  QAction* debrief_ = nullptr;
  QAction* guidanceItem_ = nullptr;
  QAction* examItem_ = nullptr;
};

}  // namespace kestrel
