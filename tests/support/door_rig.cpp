#include "support/door_rig.h"

#include <string>

namespace kestrel::test {

void DoorRig::build() {
  loaded.choice.lineFileName = "line.dat";
  loaded.settings = rig.settings;
  loaded.vehicle = rig.vehicle;
  loaded.panel = rig.panel;
  loaded.line = rig.line;
  session = std::make_unique<CabSession>(
      CabSession::Records{loaded.settings, loaded.vehicle, loaded.panel, loaded.line, loaded.pictures}, rig.mixer,
      rig.program, StartOptions{}, 0, MovieSource{&movie, "/nonexistent"});
  rig.mixer.setClock([this] { return session->scheduler().now(); });
  menu = std::make_unique<CabMenu>(loaded.settings, loaded.line);
  door = std::make_unique<DriveDoor>(*session, loaded, *menu, store);
}

ScriptInput DoorRig::input(std::string_view action) {
  return std::get<std::vector<ScriptInput>>(parseDriveScript("0 " + std::string(action)))[0];
}

}  // namespace kestrel::test
