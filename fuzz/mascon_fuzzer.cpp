// Feeds bytes to the mascon.dat reader, then sends every entry read, with its carriage return, to
// a drive that uses the table: any table must match commands without fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/data/settings_loader.h"
#include "core/util/fatal_error.h"
#include "fuzz_drive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> table;
  try {
    table = kestrel::parseMascon(bytes);
  } catch (const kestrel::FatalError&) {
    return 0;
  }
  static kestrel::LoadedSession loaded = kestrel::fuzz::fixtureSession();
  loaded.settings.mascon = table;
  kestrel::fuzz::FuzzDrive drive(&loaded);
  for (const std::string& entry : table) {
    drive.session->RxChar(entry + "\r");
    drive.session->deliverPosted();
    drive.run(100000);
  }
  return 0;
}
