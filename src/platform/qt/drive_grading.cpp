#include "platform/qt/drive_grading.h"

#include <QAction>
#include <QMenu>

#include "platform/qt/brake_guide_painter.h"
#include "platform/qt/cab_view.h"

namespace kestrel {

namespace {

// Inside a handler the scheduler has not yet moved that timer on: a time due now is one period on.
grade::ClockPhase phaseOf(const Scheduler& s) {
  const auto ahead = [&s](Scheduler::Timer timer, int64_t period) {
    const int64_t due = s.nextDue(timer) - s.now();
    return due > 0 ? due : due + period;
  };
  return {ahead(Scheduler::Timer::Multimedia, Scheduler::kMultimediaPeriodUs),
          ahead(Scheduler::Timer::Tick, Scheduler::kTickPeriodUs)};
}

}  // namespace

DriveGrading::DriveGrading(CabWindowModel& model, PreferenceStore& store, QObject* parent)
    : QObject(parent),
      model_(model),
      store_(store),
      preferences_(grade::readGradePreferences(store)),
      grader_(model.loaded().line, model.loaded().vehicle, model.session().constants().nB, preferences_.mode,
              model.session().train(), model.session().control()) {}

DriveGrading::~DriveGrading() {
  attachView(nullptr);
}

bool DriveGrading::guidanceShown() const {
  return preferences_.brakeGuidance && grader_.mode() == grade::GradeMode::Practice;
}

void DriveGrading::afterTick() {
  CabSession& s = model_.session();
  grader_.observe(s.train(), s.control(), s.scheduler().now());
  if (!guidanceShown()) return;
  guidance_ = grade::brakeGuidance(s.context(), phaseOf(s.scheduler()));
  if (view_) view_->update();
}

void DriveGrading::attachView(CabView* view) {
  if (view_) view_->setOverlay(nullptr);
  view_ = view;
  if (!view_) return;
  view_->setOverlay([this](QPainter& p) {
    if (!guidanceShown() || !guidance_) return;
    const auto& stations = model_.loaded().line.Station;
    const size_t i = static_cast<size_t>(guidance_->station);
    paintBrakeGuidance(p, *guidance_, i < stations.size() ? stations[i].name : std::string());
  });
}

void DriveGrading::extendMenu(QMenu* display) {
  display->addSeparator();
  debrief_ = display->addAction(QString::fromUtf8(kDebriefItem));
  connect(debrief_, &QAction::triggered, this, &DriveGrading::debriefRequested);
  guidanceItem_ = display->addAction(QString::fromUtf8(kBrakeGuidanceItem));
  guidanceItem_->setCheckable(true);
  guidanceItem_->setChecked(guidanceShown());
  guidanceItem_->setEnabled(grader_.mode() == grade::GradeMode::Practice);  // no coaching in an exam
  connect(guidanceItem_, &QAction::toggled, this, &DriveGrading::setGuidance);
  examItem_ = display->addAction(QString::fromUtf8(kExamModeItem));
  examItem_->setCheckable(true);
  examItem_->setChecked(preferences_.mode == grade::GradeMode::Exam);
  connect(examItem_, &QAction::toggled, this, [this](bool on) {
    preferences_.mode = on ? grade::GradeMode::Exam : grade::GradeMode::Practice;
    grade::writeGradePreferences(store_, preferences_);
  });
}

void DriveGrading::setGuidance(bool on) {
  preferences_.brakeGuidance = on;
  grade::writeGradePreferences(store_, preferences_);
  guidance_.reset();
  if (guidanceShown())
    guidance_ = grade::brakeGuidance(model_.session().context(), phaseOf(model_.session().scheduler()));
  if (view_) view_->update();
}

QAction* DriveGrading::action(const char* item) const {
  const std::string_view name(item);
  if (name == kDebriefItem) return debrief_;
  if (name == kBrakeGuidanceItem) return guidanceItem_;
  if (name == kExamModeItem) return examItem_;
  return nullptr;
}

}  // namespace kestrel
