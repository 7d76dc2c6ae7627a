#pragma once
// Writes the four vehicle files (313 series 8 and 10 cars, 383 series, a diesel railcar) with
// their cab panels and sounds.
#include "tools/make_demo/assets.h"

namespace kestrel::demo {

void writeVehicleFiles(Assets& assets);

}  // namespace kestrel::demo
