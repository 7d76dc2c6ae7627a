#pragma once
// The kilometre-post read-out drawn on the panel of two built-in trains: the trains whose file
// name has "313" or "383" as its 7th to 9th characters ("train_313-...", "train_383.dat"). It
// counts down from 396.9 km by 0.1 per 100 m of distance run. Any other train shows none.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

struct KilometrePost {
  std::string text;  // "%2.1f" of (39 690 000 - distanceRun) / 100 000
  uint32_t rgb = 0;
  int32_t pointSize = 0;
  int32_t x = 0, y = 0;  // top-left of the text, pixels of the panel-text surface at (0, H)
};

std::optional<KilometrePost> kilometrePost(std::string_view vehicleFileName, double distanceRun);

}  // namespace kestrel
