// Feeds bytes to the operation.dat reader of the help window.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/front/help_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)kestrel::parseHelpText(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
