// The line-file sections that load pictures at once: [Monitor], the two fixed image lists with
// their own messages, and the three picture lists.
#include <algorithm>
#include <exception>
#include <limits>

#include "core/data/key_loop.h"
#include "core/data/line_sections.h"
#include "core/data/picture_registry.h"
#include "core/util/fatal_error.h"
#include "core/util/rounding.h"

namespace kestrel::line_sections {

namespace {

// Sizes and positions come from the file; sums of them must not overflow.
int clampToInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Thrown inside an image-list guard when the picture does not load.
struct PictureMissing {};

CatalogPicture loadOrThrow(Ctx& c, std::string_view file, const SpriteSpec& layout) {
  auto picture = loadCatalogPicture(c.env.pictures, c.env.programDirectory, file, layout);
  if (!picture) throw PictureMissing{};
  return std::move(*picture);
}

// Runs one image-list line; any fault in it (end of file, a missing or non-numeric field, a
// picture that does not load) ends the load with that line's own message, or, when faults are
// collected, is recorded and the list goes on with its next line. False when the list cannot go
// on (the file has ended).
template <class Body>
bool guardedLine(SectionReader& reader, std::string_view message, Body body) {
  try {
    body();
    return true;
  } catch (const SectionFault&) {
  } catch (const PictureMissing&) {
  }
  reader.fault(message);
  return !reader.atEnd();
}

void readPictureList(Ctx& c, std::vector<std::string>& names, PictureList& list, const char* prefix,
                     bool takeSize) {
  names.clear();
  list = PictureList{};
  c.r.table([&](const std::string& file) {
    requireRoom(names.size(), LineData::kImageListCapacity);
    SpriteSpec layout;
    layout.name = prefix + std::to_string(names.size());
    layout.transparent = true;
    auto picture = loadCatalogPicture(c.env.pictures, c.env.programDirectory, file, layout);
    if (!picture) throw SectionFault("picture cannot be loaded: " + file);
    if (takeSize) {
      list.width = picture->width;
      list.height = picture->height;
    }
    names.push_back(file);
    list.pictures.push_back(std::move(*picture));
  });
}

}  // namespace

// Only for the train named on the first line: position, pattern size and picture of "img_mon".
void readMonitor(Ctx& c) {
  MonitorSection& m = c.l.Monitor;
  m.vehicle = c.r.valueLine();
  if (m.vehicle != c.env.vehicleFileName) return;
  m.x = c.r.intLine();
  m.y = c.r.intLine();
  m.patternWidth = c.r.intLine();
  m.patternHeight = c.r.intLine();
  m.file = c.r.valueLine();
  SpriteSpec layout;
  layout.name = "img_mon";
  layout.x = m.x;
  layout.y = m.y;
  layout.z = 51;
  layout.width = m.patternWidth;
  layout.height = m.patternHeight;
  layout.patternWidth = m.patternWidth;
  layout.patternHeight = m.patternHeight;
  layout.transparent = true;
  auto picture = loadCatalogPicture(c.env.pictures, c.env.programDirectory, m.file, layout);
  if (!picture) throw FatalError(m.file + std::string(kPictureFault));
  c.catalog.put(std::move(*picture));
  m.loaded = true;
}

void readSignImageList(Ctx& c) {
  const int w = c.env.displayWidth;
  const int h = c.env.movieHeight;
  static constexpr const char* kNames[8] = {"img_unten_teimoku", "img_unten_teimokuS", "img_unten_teimokuM",
                                            "img_unten_teimokuE", "img_unten_slope",   "img_unten_limit",
                                            "img_unten_remain",   "img_unten_other"};
  for (size_t i = 0; i < 8; ++i) {
    const bool more = guardedLine(c.r, kSignImageFaults[i], [&] {
      c.r.valueLine();
      SignImage image{c.r.textField(1), c.r.intField(2)};
      const int size = image.size;
      SpriteSpec s;
      s.name = kNames[i];
      s.z = 100;
      s.transparent = true;
      s.width = s.height = s.patternWidth = s.patternHeight = size;
      switch (i) {
        case 0: s.x = static_cast<double>(w) - size; break;
        case 1: case 2: case 3:  // stop lines: the whole picture stretched to W x size, faint
          s.transparent = false;
          s.rotating = true;
          s.alpha = 64;
          s.width = w;
          s.patternWidth = s.patternHeight = 0;
          break;
        case 4: s.x = roundHalfEven(w * 0.825); s.y = roundHalfEven(h * 0.55); break;
        case 5: s.x = roundHalfEven(w * 0.825); s.y = roundHalfEven(h * 0.35); break;
        case 6:
          s.x = static_cast<double>(w) - size;
          s.height = s.patternHeight = clampToInt(int64_t{2} * h);
          break;
        case 7: s.y = roundHalfEven(h * 0.4); break;
      }
      c.catalog.put(loadOrThrow(c, image.file, s));
      c.l.SignImageList[i] = image;
    });
    if (!more) break;
  }
  c.l.hasSignImageList = true;
}

void readSignalImageList(Ctx& c) {
  static constexpr const char* kNames[4] = {"img_unten_signal", "img_unten_signal_S", "img_unten_signal_L",
                                            "img_unten_signal_R"};
  for (size_t i = 0; i < 4; ++i) {
    const bool more = guardedLine(c.r, kSignalImageFaults[i], [&] {
      c.r.valueLine();
      SignalImage image;
      int n = 1;
      if (i == 0) {
        image.x = c.r.intField(n++);
        image.y = c.r.intField(n++);
      }
      image.width = c.r.intField(n++);
      image.height = c.r.intField(n++);
      image.file = c.r.textField(n);
      SpriteSpec s;
      s.name = kNames[i];
      s.z = i == 1 ? 101 : 100;
      s.transparent = true;
      s.width = s.patternWidth = image.width;
      s.height = s.patternHeight = image.height;
      c.catalog.put(loadOrThrow(c, image.file, s));
      c.l.SignalImageList[i] = image;
    });
    if (!more) break;
  }
  c.l.hasSignalImageList = true;
}

void readAnimImageList(Ctx& c) {
  readPictureList(c, c.l.AnimImageList, c.catalog.AnimImageList, kAnimListName, false);
}

void readTrafficSignalImageList(Ctx& c) {
  readPictureList(c, c.l.TrafficSignalImageList, c.catalog.TrafficSignalImageList, kTrafficSignalListName,
                  false);
}

void readCrossImageList(Ctx& c) {
  readPictureList(c, c.l.CrossImageList, c.catalog.CrossImageList, kCrossListName, true);
}

}  // namespace kestrel::line_sections
