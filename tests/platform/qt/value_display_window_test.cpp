// The value display window (on the offscreen platform) beside a cab window on the quick demo: F3
// in either window shows and hides it, its keys drive the train (except those typed into the frame
// field), the tick's values reach its labels and the sound grid, a click on a cyan cell stops the
// channel, and its three buttons act on the drive.
#include "platform/qt/value_display_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "platform/qt/cab_window.h"
#include "platform/qt/qt_picture_loader.h"

namespace kestrel {
namespace {

struct SilentDialogs final : UserDialogs {
  std::vector<std::string> shown;
  void showMessage(const std::string& text) override { shown.push_back(text); }
  bool confirm(const std::string&) override { return false; }
  std::optional<std::string> openFile(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  bool openDocument(const std::string&) override { return false; }
};

constexpr int kHorn = 8;  // [Sound_Horn] of the demo train: only the horn key plays it

struct ValueDisplayWindowTest : ::testing::Test {
  MemoryPreferenceStore prefs;
  QtPictureLoader pictures;
  RecordingMixer mixer;
  ProgramInputState program;
  SilentDialogs dialogs;
  DriveKeys keys;
  CabWindowModel model{
      SessionChoice{KESTREL_QUICK_DEMO_DIR, "line_rapid.dat", "", "train_313-1000_8cars.dat"},
      CabWindowPorts{prefs, pictures, mixer, nullptr}, nullptr, program};
  ValueDisplayWindow display{keys};
  std::unique_ptr<CabWindow> cab;

  void SetUp() override {
    CabWindowHooks hooks{dialogs,
                         {},
                         {},
                         {},
                         [this] { display.refresh(); },
                         {},
                         [this](bool shown) { display.setVisible(shown); }};
    cab = std::make_unique<CabWindow>(model, nullptr, std::move(hooks));
    keys.setTarget(cab.get());
    display.attach(&model);
  }
  void TearDown() override {
    keys.setTarget(nullptr);
    display.attach(nullptr);
  }

  static void press(QObject* to, int key, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &down);
    QApplication::sendEvent(to, &up);
  }
  template <class W>
  W* child(const char* name) {
    W* w = display.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString text(const char* label) { return child<QLabel>(label)->text(); }
  void tick() { model.session().scheduler().advanceBy(100000); }
  QTableWidgetItem* cell(int channel) {
    return child<QTableWidget>("StringGrid1")->item(channel / 10, channel % 10);
  }
};

TEST_F(ValueDisplayWindowTest, TheFormsWidgets) {
  EXPECT_EQ(display.windowTitle(), QStringLiteral("Value Display"));
  EXPECT_EQ(child<QPushButton>("Button1")->text(), QStringLiteral("SU再読込"));
  EXPECT_EQ(child<QPushButton>("Button2")->text(), QStringLiteral("jump"));
  EXPECT_EQ(child<QPushButton>("Button3")->text(), QStringLiteral("抵抗解除"));
  EXPECT_TRUE(child<QPlainTextEdit>("Memo1")->isReadOnly());
  for (const char* bar : {"Bar_Press0", "Bar_Press1", "Bar_Press6"}) {
    EXPECT_EQ(child<QProgressBar>(bar)->minimum(), 0);
    EXPECT_EQ(child<QProgressBar>(bar)->maximum(), 500);
  }
  EXPECT_EQ(child<QProgressBar>("Bar_Press0")->pos(), QPoint(405, 204));
  EXPECT_EQ(child<QLabel>("Label2")->pos(), QPoint(546, 199));
  auto* grid = child<QTableWidget>("StringGrid1");
  EXPECT_EQ(grid->rowCount(), 10);
  EXPECT_EQ(grid->columnCount(), 10);
}

TEST_F(ValueDisplayWindowTest, F3InEitherWindowShowsAndHidesItAndItsKeysDriveTheTrain) {
  EXPECT_FALSE(display.isVisible());
  press(cab.get(), Qt::Key_F3);
  EXPECT_TRUE(display.isVisible());

  // A typed "8" in the value display moves the handles as in the cab window.
  const ControlState before = model.session().control();
  press(child<QPlainTextEdit>("Memo1"), Qt::Key_8, QStringLiteral("8"));
  const ControlState& after = model.session().control();
  EXPECT_TRUE(after.brakeHandle != before.brakeHandle || after.powerHandle != before.powerHandle);

  // The space bar on a focused button is the drive's (the ATS key), not a click.
  press(child<QPushButton>("Button3"), Qt::Key_Space, QStringLiteral(" "));
  EXPECT_FALSE(model.session().keys().resistanceOff);

  // Digits typed into the frame field stay there.
  const ControlState held = model.session().control();
  press(child<QLineEdit>("Edit1"), Qt::Key_8, QStringLiteral("8"));
  EXPECT_EQ(child<QLineEdit>("Edit1")->text(), QStringLiteral("8"));
  EXPECT_EQ(model.session().control().brakeHandle, held.brakeHandle);
  EXPECT_EQ(model.session().control().powerHandle, held.powerHandle);

  press(child<QTableWidget>("StringGrid1"), Qt::Key_F3);
  EXPECT_FALSE(display.isVisible());
  EXPECT_FALSE(model.session().keys().valueDisplayVisible);

  // Closed by its own close box, the next F3 shows it again; the cab window's close hides it.
  press(cab.get(), Qt::Key_F3);
  display.close();
  press(cab.get(), Qt::Key_F3);
  EXPECT_TRUE(display.isVisible());
  cab->close();
  EXPECT_FALSE(display.isVisible());
}

TEST_F(ValueDisplayWindowTest, TheTickWritesTheLabelsAndTheGridAndACellClickStopsItsChannel) {
  model.start();
  press(cab.get(), Qt::Key_F3);
  mixer.setVolume(kHorn, -700);
  mixer.playLooped(kHorn);
  tick();
  const TrainState& t = model.session().train();
  EXPECT_EQ(text("Label30"), QString::number(t.MovieFrame));
  EXPECT_EQ(text("Label57"), QStringLiteral("Sound D:%1 L:%2 M:%3 K:1")
                                 .arg(model.loaded().vehicle.DriveSound.size())
                                 .arg(model.loaded().line.SoundData.size())
                                 .arg(model.loaded().vehicle.EngineSound1.size()));
  EXPECT_EQ(cell(kHorn)->text(), QStringLiteral("-700"));
  EXPECT_EQ(cell(kHorn)->background().color(), QColor(0, 255, 255));

  auto* grid = child<QTableWidget>("StringGrid1");
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(cell(kHorn)).center());
  EXPECT_FALSE(mixer.isPlaying(kHorn));
  tick();
  EXPECT_EQ(cell(kHorn)->text(), QString());
  EXPECT_NE(cell(kHorn)->background().color(), QColor(0, 255, 255));

  // Hidden, the labels keep what they showed.
  press(cab.get(), Qt::Key_F3);
  const QString frame = text("Label30");
  model.session().context().train.MovieFrame += 500;
  tick();
  EXPECT_EQ(text("Label30"), frame);
}

TEST_F(ValueDisplayWindowTest, TheButtonsJumpSwitchTheResistanceAndReloadTheSpeedUnits) {
  child<QLineEdit>("Edit1")->setText(QStringLiteral("1234"));
  child<QPushButton>("Button2")->click();
  EXPECT_EQ(model.session().train().MovieFrame, 1234);
  child<QLineEdit>("Edit1")->setText(QStringLiteral("12x"));
  child<QPushButton>("Button2")->click();
  EXPECT_EQ(model.session().train().MovieFrame, 1234);
  EXPECT_TRUE(child<QPlainTextEdit>("Memo1")->toPlainText().endsWith(
      QStringLiteral("'12x' is not a valid integer value")));

  auto* resistance = child<QPushButton>("Button3");
  resistance->click();
  EXPECT_TRUE(model.session().keys().resistanceOff);
  EXPECT_TRUE(resistance->font().bold());
  resistance->click();
  EXPECT_FALSE(model.session().keys().resistanceOff);
  EXPECT_FALSE(resistance->font().bold());

  // The demo's line file as it stands: the table read again, row for row.
  const size_t rows = model.loaded().line.SpeedUnit.size();
  child<QPushButton>("Button1")->click();
  EXPECT_EQ(model.loaded().line.SpeedUnit.size(), rows);
  EXPECT_TRUE(child<QPlainTextEdit>("Memo1")->toPlainText().endsWith(
      QStringLiteral("SU再読込: [SpeedUnit] %1行").arg(rows)));
}

TEST_F(ValueDisplayWindowTest, TheCaptionFollowsTheLastSerialCommand) {
  display.refresh();
  EXPECT_EQ(display.windowTitle(), QStringLiteral("Value Display"));
  model.session().context().keys.serialCommandText = "P5\r";
  display.refresh();
  EXPECT_EQ(display.windowTitle(), QStringLiteral("P5"));
}

}  // namespace
}  // namespace kestrel
