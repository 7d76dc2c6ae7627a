// The cab window's "Controller(&C)" menu on the fixture content: the QX items connect and
// disconnect the serial port with their messages, the window's close closes an open port, the
// kinds are one choice that the tick's poll follows, the debug option's caption, and the "Move"
// menu while a switched movie plays.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "core/front/cab_window_model.h"
#include "core/front/serial_connection.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "platform/qt/cab_window.h"
#include "support/fake_gamepad.h"
#include "support/fake_picture_loader.h"
#include "support/fake_serial_link.h"
#include "support/recording_dialogs.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

struct CabWindowControllerTest : ::testing::Test {
  MemoryPreferenceStore prefs;
  test::FakePictureLoader pictures;
  RecordingMixer mixer;
  ProgramInputState program;
  test::RecordingDialogs dialogs;
  test::FakeSerialLink link;
  test::FakeGamepad pad;
  std::unique_ptr<CabWindowModel> model;
  std::unique_ptr<CabWindow> window;

  void SetUp() override {
    const SessionChoice choice{test::sourceDir() / "tests/fixtures/content", "line_local.dat", "",
                               "train_313-1000_10cars.dat"};
    model = std::make_unique<CabWindowModel>(choice, CabWindowPorts{prefs, pictures, mixer, nullptr}, nullptr,
                                             program);
    CabWindowHooks hooks{dialogs, {}, {}, {}, {}, {}, {}, &link};
    window = std::make_unique<CabWindow>(*model, nullptr, std::move(hooks));
    model->session().setGamepadPoller(&pad);
    model->start();
  }
  void TearDown() override { window.reset(); }
  void tick() { model->session().scheduler().advanceBy(100000); }
};

TEST_F(CabWindowControllerTest, TheConnectItemOpensAndClosesThePortAndTheCloseOfTheWindowClosesIt) {
  QAction* connect = window->action(CabMenuItem::QxConnect);
  ASSERT_NE(connect, nullptr);
  EXPECT_TRUE(connect->isEnabled());
  EXPECT_TRUE(window->action(CabMenuItem::QxSettings)->isEnabled());
  connect->trigger();
  EXPECT_TRUE(link.isOpen());
  EXPECT_EQ(link.openedWith, "/dev/ttyS0");
  connect->trigger();
  EXPECT_FALSE(link.isOpen());
  connect->trigger();
  window->close();
  EXPECT_FALSE(link.isOpen());
  EXPECT_EQ(dialogs.messages,
            (std::vector<std::string>{"Connect to controller.", "Disconnect from controller.",
                                      "Connect to controller.", "Disconnect from controller."}));
}

TEST_F(CabWindowControllerTest, TheKindsAreOneChoiceAndTheDebugOptionShowsThePollInTheCaption) {
  window->action(CabMenuItem::ControllerWindowsGo)->trigger();
  EXPECT_EQ(program.controllerKind, ControllerKind::WindowsGo);
  EXPECT_TRUE(window->action(CabMenuItem::ControllerWindowsGo)->isChecked());
  EXPECT_FALSE(window->action(CabMenuItem::ControllerStandard)->isChecked());

  window->action(CabMenuItem::Debug)->trigger();
  pad.state.x = 2000;
  pad.state.y = -6000;
  tick();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("X:2000 Y:-6000"));
  EXPECT_EQ(model->session().control().powerHandle, 2);
  window->action(CabMenuItem::Debug)->trigger();
  EXPECT_EQ(window->windowTitle(), QString::fromStdString(model->lineName()));
  pad.state.x = 0;
  tick();
  EXPECT_EQ(window->windowTitle(), QString::fromStdString(model->lineName()));

  window->action(CabMenuItem::ControllerStandard)->trigger();
  EXPECT_EQ(program.controllerKind, ControllerKind::Standard);
  EXPECT_FALSE(window->action(CabMenuItem::ControllerWindowsGo)->isChecked());
}

TEST_F(CabWindowControllerTest, TheMoveMenuIsDisabledWhileAStationOrBranchMoviePlays) {
  QAction* move = window->moveMenu()->menuAction();
  EXPECT_TRUE(move->isEnabled());
  for (const int32_t mode : {1, 2}) {
    model->session().context().train.MovieMode = mode;
    tick();
    EXPECT_FALSE(move->isEnabled()) << "mode " << mode;
  }
  model->session().context().train.MovieMode = 9;  // a skipped switch plays nothing
  tick();
  EXPECT_TRUE(move->isEnabled());
  model->session().context().train.MovieMode = 0;
  tick();
  EXPECT_TRUE(move->isEnabled());
}

}  // namespace
}  // namespace kestrel
