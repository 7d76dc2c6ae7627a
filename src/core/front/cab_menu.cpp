#include "core/front/cab_menu.h"

namespace kestrel {

CabMenuCaptions CabMenuCaptions::of(const SettingsData& s) {
  return {s.Start.value_or("Start"), s.Move.value_or("Move"), s.Display.value_or("Display"),
          s.Control.value_or("Controller(&C)"), s.Save.value_or("Save(&S)")};
}

SavedDriveMenu savedDriveMenu(const std::array<std::string, kSavedDriveSlots>& titles) {
  SavedDriveMenu menu;
  for (size_t i = 0; i < titles.size(); ++i) {
    const bool empty = titles[i].empty();
    const std::string caption = empty ? std::string(kNoData) : titles[i];
    menu.restore[i] = {caption, !empty};
    menu.save[i] = {caption, true};
  }
  return menu;
}

CabMenu::CabMenu(const SettingsData& settings, const LineData& line, ControllerKind inForce)
    : captions_(CabMenuCaptions::of(settings)),
      move_(jumpMenuEntries(line)),
      noCommentary_(settings.preferences.NoCommentary == 1),
      calloutsOff_(settings.preferences.CalloutsOff == 1),
      stopLinesHidden_(settings.preferences.AtsOff == 1),
      visualEffectsOff_(settings.preferences.VisualEffectsOff == 1),
      textMode_(settings.preferences.TextMode == 1),
      controller_(inForce) {}

bool CabMenu::checked(CabMenuItem item) const {
  switch (item) {
    case CabMenuItem::NoCommentary:
      return noCommentary_;
    case CabMenuItem::CalloutsOff:
      return calloutsOff_;
    case CabMenuItem::StopLinesHidden:
      return stopLinesHidden_;
    case CabMenuItem::VisualEffectsOff:
      return visualEffectsOff_;
    case CabMenuItem::TextMode:
      return textMode_;
    case CabMenuItem::Debug:
      return debug_;
    case CabMenuItem::ControllerStandard:
      return controller_ == ControllerKind::Standard;
    case CabMenuItem::ControllerWindowsGo:
      return controller_ == ControllerKind::WindowsGo;
    case CabMenuItem::ControllerPsGo:
      return controller_ == ControllerKind::PsGo;
    case CabMenuItem::ControllerOhc:
      return controller_ == ControllerKind::Ohc;
    default:
      return false;
  }
}

bool CabMenu::toggle(CabMenuItem item, Preferences& p) {
  const auto flip = [](bool& check, int32_t* preference) {
    check = !check;
    if (preference) *preference = check ? 1 : 0;
    return check;
  };
  switch (item) {
    case CabMenuItem::NoCommentary:
      return flip(noCommentary_, &p.NoCommentary);
    case CabMenuItem::CalloutsOff:
      return flip(calloutsOff_, &p.CalloutsOff);
    case CabMenuItem::StopLinesHidden:
      return flip(stopLinesHidden_, nullptr);
    case CabMenuItem::VisualEffectsOff:
      return flip(visualEffectsOff_, &p.VisualEffectsOff);
    case CabMenuItem::TextMode:
      return flip(textMode_, &p.TextMode);
    case CabMenuItem::Debug:
      return flip(debug_, nullptr);
    case CabMenuItem::ControllerStandard:
      controller_ = ControllerKind::Standard;
      return true;
    case CabMenuItem::ControllerWindowsGo:
      controller_ = ControllerKind::WindowsGo;
      return true;
    case CabMenuItem::ControllerPsGo:
      controller_ = ControllerKind::PsGo;
      return true;
    case CabMenuItem::ControllerOhc:
      controller_ = ControllerKind::Ohc;
      return true;
    default:
      return false;
  }
}

bool toggleMenuItem(CabMenu& menu, CabMenuItem item, Preferences& preferences, DriveContext& ctx) {
  const bool check = menu.toggle(item, preferences);
  switch (item) {
    case CabMenuItem::StopLinesHidden:
      for (const char* name : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"})
        ctx.sprites.setVisible(name, !check);
      break;
    case CabMenuItem::ControllerStandard:
    case CabMenuItem::ControllerWindowsGo:
    case CabMenuItem::ControllerPsGo:
    case CabMenuItem::ControllerOhc:
      ctx.program.controllerKind = menu.controller();
      break;
    case CabMenuItem::Debug:
      ctx.keys.padDebug = check;
      break;
    default:
      break;
  }
  return check;
}

}  // namespace kestrel
