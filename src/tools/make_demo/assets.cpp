#include "tools/make_demo/assets.h"

#include <sndfile.h>

#include <stdexcept>

namespace kestrel::demo {

std::filesystem::path Assets::pathOf(const std::string& windowsName) const {
  std::string rel = windowsName;
  for (char& c : rel)
    if (c == '\\') c = '/';
  return root_ / rel;
}

void Assets::picture(const std::string& windowsName, const QImage& image) {
  const auto path = pathOf(windowsName);
  std::filesystem::create_directories(path.parent_path());
  const bool jpeg = path.extension() == ".jpg";
  const QImage out = image.convertToFormat(QImage::Format_RGB888);
  if (!out.save(QString::fromStdString(path.string()), jpeg ? "JPG" : "BMP", jpeg ? 88 : -1))
    throw std::runtime_error("cannot write " + path.string());
  written_.insert(windowsName);
}

void Assets::wave(const std::string& windowsName, const Wave& w) {
  const auto path = pathOf(windowsName);
  std::filesystem::create_directories(path.parent_path());
  SF_INFO info{};
  info.samplerate = w.rate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.string().c_str(), SFM_WRITE, &info);
  if (!f) throw std::runtime_error("cannot write " + path.string() + ": " + sf_strerror(nullptr));
  const auto n = static_cast<sf_count_t>(w.samples.size());
  const sf_count_t done = sf_write_short(f, w.samples.data(), n);
  sf_close(f);
  if (done != n) throw std::runtime_error("short write of " + path.string());
  written_.insert(windowsName);
}

}  // namespace kestrel::demo
