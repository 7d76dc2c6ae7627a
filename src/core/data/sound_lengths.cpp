#include "core/data/sound_lengths.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/util/path_lookup.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

constexpr size_t kHeaderSize = 44;

uint32_t littleEndian32(std::string_view bytes, size_t offset) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  return v;
}

}  // namespace

std::optional<int32_t> waveHeaderSeconds(std::string_view header) {
  if (header.size() < kHeaderSize) return std::nullopt;
  const uint32_t dataSize = littleEndian32(header, 40);
  const uint32_t byteRate = littleEndian32(header, 28);
  // A header with no byte rate would divide by zero: such a file has no length.
  if (byteRate == 0) return 0;
  return roundHalfAway(static_cast<double>(dataSize) / static_cast<double>(byteRate));
}

std::optional<int32_t> waveFileSeconds(const std::filesystem::path& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = std::strerror(errno);
    return std::nullopt;
  }
  std::string header(kHeaderSize, '\0');
  in.read(header.data(), static_cast<std::streamsize>(kHeaderSize));
  header.resize(static_cast<size_t>(in.gcount()));
  auto seconds = waveHeaderSeconds(header);
  if (!seconds && error) *error = "shorter than a wave header (" + std::to_string(header.size()) + " bytes)";
  return seconds;
}

void measureSoundLengths(LineData& line, const std::filesystem::path& programDirectory,
                         std::vector<std::string>* warnings) {
  line.soundLengths.clear();
  for (const std::string& name : line.SoundData) {
    if (name.empty()) {
      line.soundLengths.push_back(0);
      continue;
    }
    std::string error;
    auto seconds = waveFileSeconds(resolveDataPath(programDirectory, name), &error);
    if (!seconds && warnings) warnings->push_back("[SoundData] " + name + ": " + error + "; its length counts as 0");
    line.soundLengths.push_back(seconds.value_or(0));
  }
}

}  // namespace kestrel
