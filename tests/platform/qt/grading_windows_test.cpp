// The grading in the desktop's windows: the Display menu's entries on a cab window, the brake
// guidance drawn over the view and its preference, an exam without it; the debrief window with
// its tables, the mark of a clicked event and every kind of saved report.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QtCharts/QChartView>
#include <QtCharts/QScatterSeries>
#include <QTableWidget>

#include "core/front/cab_window_model.h"
#include "core/data/settings_loader.h"
#include "core/grade/report_files.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "platform/qt/cab_view.h"
#include "platform/qt/cab_window.h"
#include "platform/qt/debrief_window.h"
#include "platform/qt/drive_grading.h"
#include "support/fake_picture_loader.h"
#include "support/recording_dialogs.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

struct DriveGradingTest : ::testing::Test {
  MemoryPreferenceStore prefs;
  test::FakePictureLoader pictures;
  RecordingMixer mixer;
  ProgramInputState program;
  test::RecordingDialogs dialogs;
  std::unique_ptr<CabWindowModel> model;
  std::unique_ptr<DriveGrading> grading;
  std::unique_ptr<CabWindow> window;

  void open() {
    const SessionChoice choice{test::sourceDir() / "tests/fixtures/content", "line_local.dat", "",
                               "train_313-1000_10cars.dat"};
    model = std::make_unique<CabWindowModel>(choice, CabWindowPorts{prefs, pictures, mixer, nullptr}, nullptr,
                                             program);
    grading = std::make_unique<DriveGrading>(*model, prefs);
    CabWindowHooks hooks{dialogs, {}, {}, {}, [this] { grading->afterTick(); }, {}, {}, nullptr};
    hooks.extendDisplayMenu = [this](QMenu* m) { grading->extendMenu(m); };
    window = std::make_unique<CabWindow>(*model, nullptr, std::move(hooks));
    window->resize(1202, 780);
    grading->attachView(&window->view());
    mixer.setClock([this] { return model->session().scheduler().now(); });
    model->start();
  }
  void TearDown() override {
    window.reset();
    grading.reset();
  }
  void type(char32_t key) {
    model->session().AsciiDown(key);
    model->session().deliverPosted();
  }
  void seconds(double s) { model->session().scheduler().advanceBy(static_cast<int64_t>(s * 1e6)); }
  std::optional<int32_t> pref(const char* name) { return prefs.openKey(kPreferenceKeyPath)->readInt(name); }
};

TEST_F(DriveGradingTest, TheGuidanceIsDrawnOverTheViewWhileCheckedAndItsCheckIsKept) {
  open();
  ASSERT_NE(grading->action(kDebriefItem), nullptr);
  QAction* guide = grading->action(kBrakeGuidanceItem);
  ASSERT_NE(guide, nullptr);
  EXPECT_FALSE(guide->isChecked());  // off by default
  EXPECT_TRUE(guide->isEnabled());
  type(U'5');
  for (int i = 0; i < 4; ++i) type(U'8');
  seconds(40);  // the doors close at the departure time, then the train runs
  ASSERT_GT(model->session().train().speed, 10);
  EXPECT_FALSE(grading->guidance());

  guide->trigger();
  EXPECT_EQ(pref(grade::kGuidancePreference), 1);
  seconds(0.1);
  ASSERT_TRUE(grading->guidance()) << model->session().train().distanceToStop;
  EXPECT_EQ(grading->guidance()->station, 1);
  const QImage with = window->view().grab().toImage();
  guide->trigger();
  EXPECT_EQ(pref(grade::kGuidancePreference), 0);
  const QImage without = window->view().grab().toImage();
  EXPECT_NE(with, without);
  guide->trigger();
  EXPECT_EQ(window->view().grab().toImage(), with);

  // The debrief entry asks for the debrief.
  int asked = 0;
  QObject::connect(grading.get(), &DriveGrading::debriefRequested, [&] { ++asked; });
  grading->action(kDebriefItem)->trigger();
  EXPECT_EQ(asked, 1);
}

TEST_F(DriveGradingTest, AnExamGradesWithoutGuidanceAndTheModeItemSetsTheNextDrive) {
  auto key = prefs.openKey(kPreferenceKeyPath);
  key->writeInt(grade::kModePreference, 1);
  key->writeInt(grade::kGuidancePreference, 1);
  open();
  EXPECT_EQ(grading->mode(), grade::GradeMode::Exam);
  EXPECT_FALSE(grading->action(kBrakeGuidanceItem)->isEnabled());
  EXPECT_FALSE(grading->guidanceShown());
  QAction* exam = grading->action(kExamModeItem);
  EXPECT_TRUE(exam->isChecked());
  exam->trigger();
  EXPECT_EQ(pref(grade::kModePreference), 0);
  EXPECT_EQ(grading->mode(), grade::GradeMode::Exam);  // this drive keeps its mode
  type(U'5');
  for (int i = 0; i < 4; ++i) type(U'8');
  seconds(20);
  EXPECT_FALSE(grading->guidance());
  EXPECT_TRUE(grading->gradedAnything());  // the departure from the first station
}

grade::GradeReport handReport() {
  grade::GradeReport r;
  r.lineName = "短線";
  r.score = 88;
  r.brakeSteps = 8;
  r.stations = {{0, "甲", "", std::nullopt, std::nullopt, 0}, {1, "乙", "stop-good", -40, -12, 3}};
  r.events = {{12'300'000, 300, 30000, "overspeed", -10, "12.0 s over the 60 km/h limit, up to 75 km/h"},
              {60'000'000, 1000, 99960, "stop-good", -2, "乙: stopped 40 cm short of the stop target"}};
  for (int i = 0; i <= 600; ++i) {
    grade::CurveSample s;
    s.timeUs = i * 100000;
    s.distanceCm = i * 166.6;
    s.speed = i < 300 ? i * 0.2 : (600 - i) * 0.2;
    s.limit = 60;
    s.powerHandle = i < 100 ? 4 : 0;
    s.brakeStep = i > 400 ? 3 : 0;
    r.samples.push_back(s);
  }
  r.marks = {{0, "甲", 0, -500, 500}, {1, "乙", 99960, 99460, 100460}};
  return r;
}

TEST(DebriefWindow, ShowsTheReportMarksAClickedEventAndSavesEveryKind) {
  DebriefWindow w;
  w.showReport(handReport());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Debrief — 短線 — 88 points"));
  ASSERT_EQ(w.stationsTable()->rowCount(), 2);
  EXPECT_EQ(w.stationsTable()->item(1, 2)->text(), "-40");
  EXPECT_EQ(w.stationsTable()->item(0, 2)->text(), "—");
  ASSERT_EQ(w.eventsTable()->rowCount(), 2);
  EXPECT_EQ(w.eventsTable()->item(1, 3)->text(), "-2");

  w.selectEvent(1);
  const auto views = w.findChildren<QChartView*>();
  ASSERT_EQ(views.size(), 3);
  int marks = 0;
  for (QChartView* v : views)
    for (QAbstractSeries* s : v->chart()->series())
      if (auto* dots = qobject_cast<QScatterSeries*>(s); dots && dots->objectName() == "kestrel-mark") {
        ++marks;
        ASSERT_EQ(dots->count(), 1);
        EXPECT_DOUBLE_EQ(dots->at(0).y(), (600 - 600) * 0.2);  // standing at the stop
      }
  EXPECT_EQ(marks, 2) << "on the speed-distance and the speed-time curves";

  const auto dir = test::scratchDir("debrief_window");
  QString error;
  const grade::GradeReport r = handReport();
  for (const char* name : {"r.csv", "r.json", "r.svg", "r.png"})
    EXPECT_TRUE(w.saveTo(QString::fromStdString((dir / name).string()), &error)) << name << error.toStdString();
  EXPECT_EQ(test::slurp(dir / "r.csv"), grade::eventsCsv(r));
  EXPECT_EQ(test::slurp(dir / "r.json"), grade::reportJson(r));
  EXPECT_EQ(test::slurp(dir / "r.svg").rfind("<?xml", 0), 0u);
  EXPECT_EQ(QImage(QString::fromStdString((dir / "r.png").string())).size(), QSize(1200, 800));
  EXPECT_FALSE(w.saveTo(QString::fromStdString((dir / "r.txt").string()), &error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace kestrel
