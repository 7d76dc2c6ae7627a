#pragma once
// Internal to the line loader: the context of one reading loop and the sections that load
// pictures (line_images.cpp).
#include "core/data/line_loader.h"

namespace kestrel::line_sections {

struct Ctx {
  SectionReader& r;
  LineData& l;
  PictureCatalog& catalog;
  const LineLoadContext& env;
};

void readMonitor(Ctx& c);
void readSignImageList(Ctx& c);
void readSignalImageList(Ctx& c);
void readAnimImageList(Ctx& c);
void readTrafficSignalImageList(Ctx& c);
void readCrossImageList(Ctx& c);

}  // namespace kestrel::line_sections
