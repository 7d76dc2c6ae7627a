// The help and easy cab windows (on the offscreen platform, see qt_application.cpp): their texts, the
// characters their buttons post, and the keys they hand to the drive. The title window's menu on the
// quick demo: the vehicle dialog and the "?" image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "core/ports/recording_mixer.h"
#include "platform/ffmpeg/ffmpeg_movie_reader.h"
#include "platform/qt/easy_cab_window.h"
#include "platform/qt/help_window.h"
#include "platform/qt/title_window.h"

namespace kestrel {
namespace {

struct RecordingTarget final : DriveKeyTarget {
  std::u32string posted;
  std::vector<int> pressed, released;
  int32_t reverser = 1;
  void driveKeyPressed(const QKeyEvent& e) override { pressed.push_back(e.key()); }
  void driveKeyReleased(const QKeyEvent& e) override { released.push_back(e.key()); }
  void drivePost(char32_t c) override { posted += c; }
  int32_t driveReverser() const override { return reverser; }
};

struct SmallWindowsTest : ::testing::Test {
  DriveKeys keys;
  RecordingTarget target;
  void SetUp() override { keys.setTarget(&target); }
  static void press(QObject* to, int key, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &down);
    QApplication::sendEvent(to, &up);
  }
};

TEST_F(SmallWindowsTest, TheEasyCabsButtonsPostTheirCharactersAndItsKeysGoToTheDrive) {
  EasyCabWindow w(keys);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("かんたん運転台"));
  EXPECT_EQ(w.size(), QSize(241, 376));
  // Every caption stands whole: no button covers a label, and each fits in the window.
  for (const QLabel* label : w.findChildren<QLabel*>()) {
    EXPECT_TRUE(w.rect().contains(label->geometry())) << label->text().toStdString();
    for (const QPushButton* button : w.findChildren<QPushButton*>())
      EXPECT_FALSE(label->geometry().intersects(button->geometry()))
          << label->text().toStdString() << " under " << button->text().toStdString();
  }
  w.button(U'8')->click();
  w.button(U'2')->click();
  w.button(U'5')->click();
  w.button(U'7')->click();
  w.reverserButton()->click();  // forward: "b"
  target.reverser = -1;
  w.reverserButton()->click();  // reverse: "f"
  target.reverser = 0;
  w.reverserButton()->click();  // neutral: nothing
  EXPECT_EQ(target.posted, U"8257bf");

  // The space bar on a focused button reaches the drive, not the button.
  press(w.button(U'8'), Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(target.posted, U"8257bf");
  EXPECT_EQ(target.pressed, std::vector<int>{Qt::Key_Space});
  EXPECT_EQ(target.released, std::vector<int>{Qt::Key_Space});

  // Without a drive nothing goes anywhere.
  keys.setTarget(nullptr);
  w.button(U'8')->click();
  EXPECT_EQ(target.posted, U"8257bf");
}

TEST_F(SmallWindowsTest, TheHelpWindowShowsOperationDatAndHandsItsKeysOn) {
  HelpText text;
  text.caption = "操作説明";
  text.lines = {"一行目", "", "三行目"};
  HelpWindow w(text, keys);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("操作説明"));
  EXPECT_EQ(w.text(), QStringLiteral("一行目\n\n三行目"));
  EXPECT_EQ(w.size(), QSize(265, 331));
  for (QObject* child : w.children())
    if (child->isWidgetType()) press(child, Qt::Key_8, QStringLiteral("8"));
  ASSERT_FALSE(target.pressed.empty());
  EXPECT_EQ(target.pressed.front(), Qt::Key_8);
  HelpWindow empty(HelpText{}, keys);
  EXPECT_EQ(empty.windowTitle(), QStringLiteral("Help"));
}

struct ScriptedDialogs final : UserDialogs {
  std::vector<std::string> messages;
  std::string folder;                 // where the file dialog opened
  std::optional<std::string> answer;  // the file dialog's answer
  bool viewer = false;                // whether a program shows documents
  void showMessage(const std::string& text) override { messages.push_back(text); }
  bool confirm(const std::string&) override { return false; }
  std::optional<std::string> openFile(const std::string&, const std::string&,
                                      const std::string& in) override {
    folder = in;
    return answer;
  }
  bool openDocument(const std::string&) override { return viewer; }
};

TEST(TitleWindowTest, TheVehicleDialogOpensInTheContentFolderAndTheHelpImageSaysWhatFails) {
  RecordingMixer mixer;
  FfmpegMovieReader opening;
  ScriptedDialogs dialogs;
  const std::filesystem::path dir = KESTREL_QUICK_DEMO_DIR;
  TitleWindow title(dir, {mixer, opening, dialogs, {}}, 0);
  title.skipToMenu();
  EXPECT_EQ(title.size(), QSize(800, 600));  // the menu picture's size
  QTest::mouseClick(title.image(TitleImage::Line2), Qt::LeftButton);
  const QImage plain = title.image(TitleImage::Train1)->pixmap().toImage();

  // Cancelled: nothing changes. Chosen: the train's button names the file.
  QTest::mouseClick(title.image(TitleImage::Line3), Qt::RightButton);
  EXPECT_EQ(dialogs.folder, dir.string());
  EXPECT_EQ(title.menu().lineFileName(), "line_rapid.dat");
  EXPECT_EQ(title.image(TitleImage::Train1)->pixmap().toImage(), plain);
  dialogs.answer = (dir / "train_383.dat").string();
  QTest::mouseClick(title.image(TitleImage::Line2), Qt::RightButton);
  EXPECT_EQ(title.menu().pickedVehicleName(), "train_383.dat");
  EXPECT_NE(title.image(TitleImage::Train1)->pixmap().toImage(), plain);

  // "?": readme.html is there, but nothing shows it.
  QTest::mouseClick(title.image(TitleImage::Help), Qt::LeftButton);
  dialogs.viewer = true;
  QTest::mouseClick(title.image(TitleImage::Help), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"readme.htmlを開くプログラムが見つかりません"});

  // The menu's foot: a recorded drive to replay, or to race against.
  for (const auto& [name, signal] : {std::pair{"Replay", &TitleWindow::replayClicked},
                                     std::pair{"Ghost", &TitleWindow::ghostClicked}}) {
    auto* button = title.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_TRUE(button) << name;
    EXPECT_TRUE(button->isVisibleTo(&title)) << name;
    QSignalSpy clicked(&title, signal);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1) << name;
  }
}

}  // namespace
}  // namespace kestrel
