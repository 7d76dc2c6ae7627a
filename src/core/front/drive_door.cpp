#include "core/front/drive_door.h"

#include "core/front/drive_restore.h"
#include "core/front/jump_targets.h"
#include "core/front/speed_unit_reload.h"
#include "core/present/value_display.h"
#include "core/sim/stations.h"

namespace kestrel {

namespace {

bool samePad(const GamepadState& a, const GamepadState& b) {
  return a.x == b.x && a.y == b.y && a.buttons == b.buttons;
}

}  // namespace

DriveDoor::DriveDoor(CabSession& session, LoadedSession& loaded, CabMenu& menu, PreferenceStore& store)
    : session_(session), loaded_(loaded), menu_(menu), store_(store) {
  session_.setGamepadPoller(this);
  keepJumpTargetsReady();
}

void DriveDoor::keepJumpTargetsReady() {
  session_.moviePlayback().keepJumpTargetsReady(session_.context(),
                                                jumpTargetFrames(loaded_.line, store_, loaded_.choice.lineFileName));
}

DriveDoor::~DriveDoor() {
  session_.setGamepadPoller(nullptr);
}

std::optional<std::string> DriveDoor::driverInput(ScriptInput input) {
  if (replaying_) return std::nullopt;
  return deliver(std::move(input));
}

std::optional<std::string> DriveDoor::deliver(ScriptInput input) {
  // Bytes of no receive event change nothing and have no line of their own.
  if (input.kind == ScriptInput::Kind::Serial && input.bytes.empty()) return std::nullopt;
  input.timeUs = session_.scheduler().now();
  // The slot as it is read now goes into the recording, so that a replay restores the same.
  if (input.kind == ScriptInput::Kind::MenuLoad && !input.slotText)
    input.slotText = SavedDriveStore(store_).text(input.slot);
  record(input);
  if (input.kind == ScriptInput::Kind::End) ended_ = true;
  auto message = run(input);
  session_.deliverPosted();
  if (after_) after_(input);
  return message;
}

std::optional<std::string> DriveDoor::run(const ScriptInput& in) {
  CabSession& s = session_;
  using K = ScriptInput::Kind;
  switch (in.kind) {
    case K::Key:
      s.AsciiDown(in.character);
      break;
    case K::KeyUp:
      s.keyupChar(in.character);
      break;
    case K::VirtualKeyDown:
      s.keydowns(in.key, in.modifiers);
      break;
    case K::VirtualKeyUp:
      s.keyups(in.key);
      break;
    case K::Wheel:
      if (in.wheelUp)
        s.WheelU();
      else
        s.WheelD();
      break;
    case K::MenuStart:
      s.start1Click();
      break;
    case K::MenuJump:
      s.StationClick(in.station);
      break;
    case K::Serial:
      s.RxChar(in.bytes);
      break;
    case K::Pad:
      pad_ = in.pad;
      break;
    case K::ValuesReload:
      s.valueDisplay().addMemoLine(reloadReport(Button1Click(loaded_, s.context())));
      break;
    case K::ValuesJump:
      if (auto refusal = Button2Click(s.context(), in.bytes)) s.valueDisplay().addMemoLine(*refusal);
      break;
    case K::ValuesResistance:
      Button3Click(s.context());
      break;
    case K::ValuesStop:
      sc(s.context().mixer, in.channel);
      break;
    case K::Back:
      BackClick(s.context());
      break;
    case K::End:  // the owner ends the drive
      break;
    default:
      return runMenu(in);
  }
  return std::nullopt;
}

std::optional<std::string> DriveDoor::runMenu(const ScriptInput& in) {
  CabSession& s = session_;
  const std::string& lineFile = loaded_.choice.lineFileName;
  switch (in.kind) {
    case ScriptInput::Kind::MenuSave: {
      std::string message(saveDriveToSlot(store_, s, loaded_.line, lineFile, in.slot));
      keepJumpTargetsReady();  // a restore will jump to the place saved
      return message;
    }
    case ScriptInput::Kind::MenuLoad:
      if (const auto refusal = restoreDriveFromText(s, lineFile, *in.slotText)) return std::string(*refusal);
      return std::nullopt;
    case ScriptInput::Kind::MenuToggle:
    case ScriptInput::Kind::MenuController:
      toggleMenuItem(menu_, in.item, loaded_.settings.preferences, s.context());
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

GamepadState DriveDoor::poll() {
  if (!live_) return pad_;
  const GamepadState now = live_->poll();
  if (!samePad(now, pad_)) {
    // Recorded just before the tick that reads it: a replay sets it after every event before.
    ScriptInput in;
    in.kind = ScriptInput::Kind::Pad;
    in.pad = now;
    in.timeUs = session_.scheduler().now() - 1;
    record(in);
    pad_ = now;
  }
  return pad_;
}

}  // namespace kestrel
