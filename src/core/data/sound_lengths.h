#pragma once
// The playing time of the [SoundData] files in whole seconds, taken from the canonical 44-byte
// wave header: the data size at byte offset 40 divided by the byte rate at offset 28 (both 32-bit
// little-endian), rounded half away from zero.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/line_data.h"

namespace kestrel {

// The length from the header bytes; a byte rate of 0 gives 0. nullopt when fewer than 44 bytes.
std::optional<int32_t> waveHeaderSeconds(std::string_view header);

// The length of the file; nullopt with the reason in *error when it cannot be read.
std::optional<int32_t> waveFileSeconds(const std::filesystem::path& path, std::string* error);

// Fills line.soundLengths, one per [SoundData] row. A file that cannot be read counts 0 and adds
// a warning (the load goes on); an empty name counts 0 silently.
void measureSoundLengths(LineData& line, const std::filesystem::path& programDirectory,
                         std::vector<std::string>* warnings);

}  // namespace kestrel
