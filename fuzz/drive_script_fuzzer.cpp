// Feeds bytes to the headless runner's script reader; a script it accepts is played on a drive
// for up to ten seconds of drive time, menu actions included, as kestrel-run plays it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "core/front/drive_door.h"
#include "core/front/script_player.h"
#include "core/ports/memory_preference_store.h"
#include "fuzz_drive.h"
#include "tools/run/drive_runner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrel;
  auto parsed = parseDriveScript(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto* inputs = std::get_if<std::vector<ScriptInput>>(&parsed);
  static LoadedSession loaded = fuzz::fixtureSession();
  if (!inputs || run::jumpOutsideMenu(*inputs, loaded.line)) return 0;
  fuzz::FuzzDrive drive(&loaded);
  MemoryPreferenceStore store;
  CabMenu menu(loaded.settings, loaded.line, drive.program.controllerKind);
  DriveDoor door(*drive.session, loaded, menu, store);
  const int64_t duration = std::min<int64_t>(playedDurationUs(*inputs), 10000000);
  run::playDrive(door, *inputs, duration);
  loaded.settings.preferences = fuzz::fixtureSession().settings.preferences;
  return 0;
}
