#include "platform/qt/quiet_image_libraries.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace kestrel {

QuietImageLibraries::QuietImageLibraries() {
  if (std::getenv("KESTREL_QT_MESSAGES")) return;
  std::fflush(stderr);
  saved_ = dup(2);
  int null = open("/dev/null", O_WRONLY);
  if (saved_ >= 0 && null >= 0) dup2(null, 2);
  if (null >= 0) close(null);
}

QuietImageLibraries::~QuietImageLibraries() {
  if (saved_ < 0) return;
  std::fflush(stderr);
  dup2(saved_, 2);
  close(saved_);
}

}  // namespace kestrel
