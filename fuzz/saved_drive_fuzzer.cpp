// Feeds bytes to the restore of a saved drive as a slot's text: the slot is restored from the
// preference store as the "Save(&S)" menu does it, and the drive runs on for two seconds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/data/settings_loader.h"
#include "core/front/drive_restore.h"
#include "core/ports/memory_preference_store.h"
#include "fuzz_drive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrel;
  MemoryPreferenceStore store;
  store.set(kPreferenceKeyPath, "Save1", std::string(reinterpret_cast<const char*>(data), size));
  fuzz::FuzzDrive drive;
  drive.run(500000);
  if (restoreDriveFromSlot(store, *drive.session, fuzz::fixtureSession().choice.lineFileName, 1)) return 0;
  drive.session->AsciiDown(U'8');
  drive.run(2000000);
  return 0;
}
