#include "platform/qt/debrief_window.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChartView>
#include <algorithm>

#include "core/grade/grade_texts.h"
#include "core/grade/report_files.h"
#include "platform/qt/run_charts.h"

namespace kestrel {

namespace {

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}

QString orDash(const std::optional<int32_t>& v) {
  return v ? QString::number(*v) : QStringLiteral("—");
}

QTableWidget* table(const QStringList& headers) {
  auto* t = new QTableWidget(0, static_cast<int>(headers.size()));
  t->setHorizontalHeaderLabels(headers);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->verticalHeader()->setVisible(false);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells) {
  for (int c = 0; c < cells.size(); ++c) t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

QChartView* chartView(QChart* chart) {
  auto* v = new QChartView(chart);
  v->setRenderHint(QPainter::Antialiasing);
  return v;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush()) return true;
  if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, f.errorString());
  return false;
}

QByteArray bytesOf(const std::string& s) {
  return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

DebriefWindow::DebriefWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  score_ = new QLabel;
  QFont big = score_->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  score_->setFont(big);

  stations_ = table({"Station", "Stop", "Error (cm)", "Arrival (s)", "Departure (s)"});
  events_ = table({"Time (s)", "Place (m)", "Kind", "Points", "What happened"});
  connect(events_, &QTableWidget::cellClicked, this, [this](int row, int) { selectEvent(row); });

  auto* lists = new QSplitter(Qt::Vertical);
  lists->addWidget(stations_);
  lists->addWidget(events_);

  auto* tabs = new QTabWidget;
  auto* distance = new QWidget;
  auto* distanceLayout = new QVBoxLayout(distance);
  distanceLayout->setContentsMargins(0, 0, 0, 0);
  speedDistance_ = chartView(new QChart);
  notches_ = chartView(new QChart);
  distanceLayout->addWidget(speedDistance_, 2);
  distanceLayout->addWidget(notches_, 1);
  tabs->addTab(distance, QStringLiteral("Speed and distance"));
  speedTime_ = chartView(new QChart);
  tabs->addTab(speedTime_, QStringLiteral("Speed and time"));

  auto* split = new QSplitter(Qt::Horizontal);
  split->addWidget(lists);
  split->addWidget(tabs);
  split->setSizes({500, 780});

  auto* save = new QPushButton(QStringLiteral("Save report…"));
  connect(save, &QPushButton::clicked, this, &DebriefWindow::saveClicked);
  auto* close = new QPushButton(QStringLiteral("Close"));
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(score_);
  layout->addWidget(split, 1);
  layout->addLayout(buttons);
  resize(1280, 800);
}

QString DebriefWindow::titleOf(const grade::GradeReport& r) {
  const QString result =
      r.score ? QStringLiteral("%1 points").arg(*r.score) : QString::fromStdString(grade::texts::examVoid());
  return QStringLiteral("Debrief — %1 — %2").arg(qs(r.lineName), result);
}

void DebriefWindow::showReport(grade::GradeReport report) {
  report_ = std::move(report);
  setWindowTitle(titleOf(report_));
  const QString mode = QString::fromLatin1(grade::modeName(report_.mode));
  score_->setText(report_.score ? QStringLiteral("%1 / 100   (%2)").arg(*report_.score).arg(mode)
                                : QStringLiteral("%1   (%2)").arg(qs(grade::texts::examVoid()), mode));

  stations_->setRowCount(static_cast<int>(report_.stations.size()));
  for (size_t i = 0; i < report_.stations.size(); ++i) {
    const grade::StationGrade& s = report_.stations[i];
    setRow(stations_, static_cast<int>(i),
           {qs(s.name), s.stop.empty() ? QStringLiteral("—") : qs(s.stop), orDash(s.stopErrorCm), orDash(s.arrivalDeltaS),
            orDash(s.departureDeltaS)});
  }
  events_->setRowCount(static_cast<int>(report_.events.size()));
  for (size_t i = 0; i < report_.events.size(); ++i) {
    const grade::GradeEvent& e = report_.events[i];
    setRow(events_, static_cast<int>(i),
           {qs(grade::texts::decimal(static_cast<double>(e.timeUs) / 1e6, 1)), qs(grade::texts::decimal(e.distanceCm / 100, 1)),
            qs(e.kind), QString::number(e.points), qs(e.text)});
  }
  stations_->resizeColumnsToContents();
  events_->resizeColumnsToContents();
  rebuildCharts();
}

void DebriefWindow::rebuildCharts() {
  for (auto [view, make] : {std::pair{speedDistance_, &speedDistanceChart}, std::pair{notches_, &notchDistanceChart},
                            std::pair{speedTime_, &speedTimeChart}}) {
    QChart* old = view->chart();
    view->setChart(make(report_));
    delete old;
  }
}

void DebriefWindow::selectEvent(int row) {
  if (row < 0 || row >= static_cast<int>(report_.events.size())) return;
  const grade::GradeEvent& e = report_.events[static_cast<size_t>(row)];
  // The speed at the event: the sample of its tick, or the last before it.
  double speed = 0;
  const auto& samples = report_.samples;
  auto at = std::upper_bound(samples.begin(), samples.end(), e.timeUs,
                             [](int64_t us, const grade::CurveSample& s) { return us < s.timeUs; });
  if (at != samples.begin()) speed = std::prev(at)->speed;
  markPlace(speedDistance_->chart(), e.distanceCm / 100, speed);
  markPlace(speedTime_->chart(), static_cast<double>(e.timeUs) / 1e6, speed);
  events_->selectRow(row);
}

bool DebriefWindow::saveTo(const QString& path, QString* error) const {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("svg")) return writeBytes(path, runCurvesSvg(report_), error);
  if (suffix == QLatin1String("csv")) return writeBytes(path, bytesOf(grade::eventsCsv(report_)), error);
  if (suffix == QLatin1String("json")) return writeBytes(path, bytesOf(grade::reportJson(report_)), error);
  if (suffix == QLatin1String("png")) {
    if (runCurvesImage(report_).save(path, "PNG")) return true;
    if (error) *error = QStringLiteral("Cannot write %1").arg(path);
    return false;
  }
  if (error) *error = QStringLiteral("Choose a name ending in .svg, .png, .csv or .json");
  return false;
}

void DebriefWindow::saveClicked() {
  QString filter;
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save report"), QStringLiteral("report.svg"),
      QStringLiteral("Curves as SVG (*.svg);;Curves as PNG (*.png);;Events as CSV (*.csv);;Report as JSON (*.json)"),
      &filter);
  if (path.isEmpty()) return;
  QString chosen = path;
  if (QFileInfo(path).suffix().isEmpty()) {  // the suffix of the chosen filter, "(*.svg)"
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    if (star >= 0) chosen += filter.mid(star + 1, filter.indexOf(QLatin1Char(')'), star) - star - 1);
  }
  QString error;
  if (!saveTo(chosen, &error)) QMessageBox::warning(this, QStringLiteral("Save report"), error);
}

}  // namespace kestrel
