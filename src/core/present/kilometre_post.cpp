#include "core/present/kilometre_post.h"

#include <cstdio>

namespace kestrel {

std::optional<KilometrePost> kilometrePost(std::string_view vehicleFileName, double distanceRun) {
  if (vehicleFileName.size() < 9) return std::nullopt;
  const std::string_view series = vehicleFileName.substr(6, 3);
  KilometrePost post;
  if (series == "313")
    post = {{}, 0xAAAAAA, 8, 490, 91};
  else if (series == "383")
    post = {{}, 0x888888, 7, 580, 94};
  else
    return std::nullopt;
  char text[64];
  std::snprintf(text, sizeof text, "%2.1f", (39690000 - distanceRun) / 100000);
  post.text = text;
  return post;
}

}  // namespace kestrel
