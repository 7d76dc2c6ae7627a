// Feeds bytes to the AVI header reader that counts a movie's frames for the headless runner.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/ports/avi_frame_count_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  (void)kestrel::aviFrameCount(in);
  return 0;
}
