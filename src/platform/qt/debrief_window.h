#pragma once
// The debrief: how the drive went. The score (or "exam void"), the stops of the timetable, the
// events with their points, and the run curves (speed against distance with the notches under
// it, speed against time). A click on an event marks its place on the curves. "Save report…"
// writes the curves as SVG or PNG, the events as CSV, or the whole report as JSON.
//
// Thread contract: GUI thread only.
#include <QString>
#include <QWidget>

#include "core/grade/grade_report.h"

class QChartView;
class QLabel;
class QTableWidget;

namespace kestrel {

class DebriefWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit DebriefWindow(QWidget* parent = nullptr);

  // Shows `report` in place of what the window showed.
  void showReport(grade::GradeReport report);
  const grade::GradeReport& report() const { return report_; }
  // "Debrief — <line> — 91 points" (or "— exam void").
  static QString titleOf(const grade::GradeReport& report);

  // Writes the file that `path`'s suffix names: .svg or .png the curves, .csv the events, .json
  // the report. False, with the reason, when it cannot be written.
  bool saveTo(const QString& path, QString* error) const;
  // Marks event `row` (of the events list) on the curves, as a click on it does.
  void selectEvent(int row);

  QTableWidget* stationsTable() const { return stations_; }
  QTableWidget* eventsTable() const { return events_; }

 private:
  void saveClicked();
  void rebuildCharts();

  grade::GradeReport report_;
  QLabel* score_ = nullptr;
  QTableWidget* stations_ = nullptr;
  QTableWidget* events_ = nullptr;
  QChartView* speedDistance_ = nullptr;
  QChartView* notches_ = nullptr;
  QChartView* speedTime_ = nullptr;
};

}  // namespace kestrel
