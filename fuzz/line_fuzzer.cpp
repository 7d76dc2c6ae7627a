// Feeds bytes to the line file reader (image lists through a fake PictureLoader), then runs the
// distance conversion and the jump menu over what was read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/data/jump_menu.h"
#include "core/data/line_distances.h"
#include "core/data/line_loader.h"
#include "core/util/fatal_error.h"
#include "fuzz_picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kestrel::LineData line;
  kestrel::PictureCatalog catalog;
  kestrel::fuzz::FuzzPictureLoader pictures;
  kestrel::LineLoadContext context{"/fuzz", "train_313-1000_10cars.dat", 800, 600, pictures};
  try {
    auto reader = kestrel::SectionReader::fromBytes(bytes);
    kestrel::loadLine(reader, context, line, catalog);
  } catch (const kestrel::FatalError&) {
  }
  // What was read before a fault is converted too: the conversion must hold for any table.
  std::vector<std::string> warnings;
  kestrel::convertLineDistances(line, &warnings);
  (void)kestrel::jumpMenuEntries(line);
  return 0;
}
