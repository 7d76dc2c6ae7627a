// Qt key events in the cab window's vocabulary, the file dialog's filter, and the wheel notches.
#include "platform/qt/key_translation.h"

#include <gtest/gtest.h>

#include "platform/qt/qt_user_dialogs.h"

namespace kestrel {
namespace {

QKeyEvent press(int key, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {}) {
  return QKeyEvent(QEvent::KeyPress, key, m, text);
}

TEST(KeyTranslation, TypedCharactersAndVirtualKeysWithTheExactShiftState) {
  TranslatedKey k = translateKey(press(Qt::Key_8, Qt::NoModifier, QStringLiteral("8")));
  EXPECT_EQ(k.typed, U'8');
  EXPECT_EQ(k.key, std::nullopt);

  k = translateKey(press(Qt::Key_F11, Qt::ShiftModifier));
  EXPECT_EQ(k.key, VirtualKey::F11);
  EXPECT_TRUE(k.modifiers.shiftOnly());
  EXPECT_FALSE(k.fullScreenToggle);  // Shift+F11 is the drive's
  EXPECT_EQ(k.typed, std::nullopt);

  k = translateKey(press(Qt::Key_F5, Qt::ShiftModifier | Qt::ControlModifier));
  EXPECT_EQ(k.key, VirtualKey::F5);
  EXPECT_FALSE(k.modifiers.shiftOnly());

  k = translateKey(press(Qt::Key_F11));
  EXPECT_TRUE(k.fullScreenToggle);

  // Enter is the call-out key and types a carriage return; the space bar types a blank.
  k = translateKey(press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")));
  EXPECT_EQ(k.key, VirtualKey::Enter);
  EXPECT_EQ(k.typed, U'\r');
  EXPECT_EQ(translateKey(press(Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"))).key,
            VirtualKey::Enter);
  EXPECT_EQ(translateKey(press(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "))).typed, U' ');
  EXPECT_EQ(translateKey(press(Qt::Key_3, Qt::KeypadModifier, QStringLiteral("3"))).typed, U'3');
  EXPECT_EQ(translateKey(press(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"))).typed, std::nullopt);
  EXPECT_EQ(translateKey(press(Qt::Key_Shift, Qt::ShiftModifier)).typed, std::nullopt);

  const std::pair<int, VirtualKey> keys[] = {{Qt::Key_Backspace, VirtualKey::Backspace},
                                             {Qt::Key_ScrollLock, VirtualKey::ScrollLock},
                                             {Qt::Key_Up, VirtualKey::Up},
                                             {Qt::Key_Down, VirtualKey::Down},
                                             {Qt::Key_PageUp, VirtualKey::PageUp},
                                             {Qt::Key_PageDown, VirtualKey::PageDown},
                                             {Qt::Key_F1, VirtualKey::F1},
                                             {Qt::Key_F12, VirtualKey::F12}};
  for (auto [qt, vk] : keys) EXPECT_EQ(virtualKeyOf(qt), vk) << qt;
  EXPECT_EQ(virtualKeyOf(Qt::Key_Left), std::nullopt);
}

TEST(KeyTranslation, WheelNotchesAddUpFineSteps) {
  WheelNotches w;
  EXPECT_EQ(w.add(120), 1);
  EXPECT_EQ(w.add(-240), -2);
  EXPECT_EQ(w.add(60), 0);
  EXPECT_EQ(w.add(60), 1);
  EXPECT_EQ(w.add(-30), 0);
  EXPECT_EQ(w.add(-90), -1);
}

TEST(QtUserDialogs, TheFilterIsWrittenAsQtReadsIt) {
  EXPECT_EQ(QtUserDialogs::qtFilter("列車データファイル (*.dat)|*.dat"), "列車データファイル (*.dat)");
  EXPECT_EQ(QtUserDialogs::qtFilter("Trains|*.dat|All (*.*)|*.*"), "Trains (*.dat);;All (*.*)");
}

}  // namespace
}  // namespace kestrel
