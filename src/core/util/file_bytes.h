#pragma once
// Reading a whole data file.
#include <filesystem>
#include <optional>
#include <string>

namespace kestrel {

// The bytes of the file at `path`; nullopt when it is missing, is not a file (a directory opens
// as an empty stream on Linux) or cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

}  // namespace kestrel
