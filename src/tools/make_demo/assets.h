#pragma once
// The content folder being written: pictures and waves are saved once under the Windows-style
// names that the data files use ("image\panel\313.bmp" becomes image/panel/313.bmp).
#include <QImage>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tools/make_demo/route.h"

namespace kestrel::demo {

// Mono 16-bit samples at a given rate.
struct Wave {
  int rate = 22050;
  std::vector<int16_t> samples;
  double seconds() const { return static_cast<double>(samples.size()) / rate; }
};

class Assets {
 public:
  Assets(std::filesystem::path root, Variant variant) : root_(std::move(root)), variant_(variant) {}

  const std::filesystem::path& root() const { return root_; }
  Variant variant() const { return variant_; }
  std::filesystem::path pathOf(const std::string& windowsName) const;
  bool has(const std::string& windowsName) const { return written_.count(windowsName) > 0; }

  // Saves a picture (BMP, or JPEG for ".jpg"); a name saved before is not painted again by the
  // callers that test has() first.
  void picture(const std::string& windowsName, const QImage& image);
  // Saves a canonical 44-byte-header PCM wave through libsndfile.
  void wave(const std::string& windowsName, const Wave& wave);

 private:
  std::filesystem::path root_;
  Variant variant_;
  std::set<std::string> written_;
};

}  // namespace kestrel::demo
