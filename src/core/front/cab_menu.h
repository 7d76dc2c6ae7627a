#pragma once
// The cab window's menu bar without the window: the five menus with their captions (the
// settings file may replace the top-level ones), the items of each with their checks, the hidden
// item, the "Move" entries and the saved-drive slots. The window builds its menus from this
// model and calls the session for what an item does; the model keeps the checks and the
// preferences they stand for.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/jump_menu.h"
#include "core/data/line_data.h"
#include "core/data/settings_data.h"
#include "core/front/saved_drive.h"
#include "core/state/drive_context.h"

namespace kestrel {

enum class CabMenuItem {
  Help,              // "操作説明(&U)": show the help window
  NoCommentary,      // "解説なし(&D)"
  EasyCab,           // "かんたん運転台(&E)": show the easy cab window
  CalloutsOff,       // "喚呼なし(&K)"
  StopLinesHidden,   // "停止位置ラインを表示しない(&S)"
  VisualEffectsOff,  // "視覚効果OFF(&V)", hidden
  TextMode,          // "文字表示モード切り替え(&C)"
  ControllerStandard,
  ControllerWindowsGo,
  ControllerPsGo,
  ControllerOhc,
  Debug,       // "デバッグオプション(&D)"
  QxSettings,  // "QXマスコン（設定）(&P)"
  QxConnect,   // "QXマスコン（接続）(&C)"
};

struct CabMenuEntry {
  CabMenuItem item;
  std::string_view caption;
  bool checkable;
};

// The "Display" and "Controller(&C)" menus, top to bottom.
inline constexpr std::array<CabMenuEntry, 7> kDisplayMenu{{
    {CabMenuItem::Help, "操作説明(&U)", false},
    {CabMenuItem::NoCommentary, "解説なし(&D)", true},
    {CabMenuItem::EasyCab, "かんたん運転台(&E)", false},
    {CabMenuItem::CalloutsOff, "喚呼なし(&K)", true},
    {CabMenuItem::StopLinesHidden, "停止位置ラインを表示しない(&S)", true},
    {CabMenuItem::VisualEffectsOff, "視覚効果OFF(&V)", true},
    {CabMenuItem::TextMode, "文字表示モード切り替え(&C)", true},
}};
inline constexpr std::array<CabMenuEntry, 7> kControllerMenu{{
    {CabMenuItem::ControllerStandard, "標準/QXマスコン(&N)", true},
    {CabMenuItem::ControllerWindowsGo, "Windows用電車でGO! コントローラ(&U)", true},
    {CabMenuItem::ControllerPsGo, "PS用電車でGO! コントローラ(&M)", true},
    {CabMenuItem::ControllerOhc, "三鶯重工 OHC-PC01(&S)", true},
    {CabMenuItem::Debug, "デバッグオプション(&D)", true},
    {CabMenuItem::QxSettings, "QXマスコン（設定）(&P)", false},
    {CabMenuItem::QxConnect, "QXマスコン（接続）(&C)", false},
}};
inline constexpr std::string_view kRestoreMenu = "運転状態を復元(&L)";
inline constexpr std::string_view kSaveMenu = "運転状態を保存(&S)";

// The top-level captions, those of the settings file where it has them.
struct CabMenuCaptions {
  std::string start, move, display, controller, save;
  static CabMenuCaptions of(const SettingsData& settings);
};

// A slot of the "Save(&S)" menu as the menu shows it when it opens.
struct SavedDriveSlotItem {
  std::string caption;
  bool enabled = true;
};
struct SavedDriveMenu {
  std::array<SavedDriveSlotItem, kSavedDriveSlots> restore;  // Load1 .. Load3
  std::array<SavedDriveSlotItem, kSavedDriveSlots> save;     // Save1 .. Save3
};

// Saveloadclick: the titles as captions of both items of a slot; an empty title shows "No Data",
// which disables the restore item but not the save item.
SavedDriveMenu savedDriveMenu(const std::array<std::string, kSavedDriveSlots>& titles);

class CabMenu {
 public:
  // The checks at the start of a drive: each preference item checked exactly when its value is
  // 1; "停止位置ラインを表示しない" follows the ATS preference; the controller kind in force (it
  // lasts for the program run) checked, the debug option not.
  CabMenu(const SettingsData& settings, const LineData& line,
          ControllerKind inForce = ControllerKind::Standard);

  const CabMenuCaptions& captions() const { return captions_; }
  const std::vector<JumpMenuEntry>& moveEntries() const { return move_; }
  bool checked(CabMenuItem item) const;
  // Only "視覚効果OFF(&V)" is hidden.
  static bool hidden(CabMenuItem item) { return item == CabMenuItem::VisualEffectsOff; }
  ControllerKind controller() const { return controller_; }

  // A click on a checkable item: its check toggles and, for a preference item, the preference
  // becomes 1 when checked and 0 when not; a controller item chooses that controller. Returns
  // the new check.
  bool toggle(CabMenuItem item, Preferences& preferences);

 private:
  CabMenuCaptions captions_;
  std::vector<JumpMenuEntry> move_;
  bool noCommentary_, calloutsOff_, stopLinesHidden_, visualEffectsOff_, textMode_;
  bool debug_ = false;
  ControllerKind controller_;
};

// A click on a checkable item as the window runs it: the check and its preference toggle;
// "停止位置ラインを表示しない" hides the three stop-line sprites while checked and shows them when
// cleared; a controller item puts its kind in force for the program run (a game controller is
// polled from the next tick; the standard kind stops polling at once, the handles staying where
// they are); "デバッグオプション(&D)" switches the poll's caption. Returns the new check.
bool toggleMenuItem(CabMenu& menu, CabMenuItem item, Preferences& preferences, DriveContext& ctx);

}  // namespace kestrel
