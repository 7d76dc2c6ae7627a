// Feeds bytes to the railvane.dat reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/data/settings_loader.h"
#include "core/util/fatal_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kestrel::SettingsData settings;
  try {
    auto reader = kestrel::SectionReader::fromBytes(bytes);
    kestrel::loadRailvane(reader, settings);
  } catch (const kestrel::FatalError&) {
  }
  return 0;
}
