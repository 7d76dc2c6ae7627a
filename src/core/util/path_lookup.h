#pragma once
// File names written in data files are Windows-style ("image\title\title01.jpg"). They resolve
// against a base folder with '\' (and '/') as separators; when a component does not exist with
// its exact spelling, a case-insensitive (ASCII) match in that folder is used.
#include <filesystem>
#include <string_view>

namespace kestrel {

// Returns the resolved path; when nothing matches, the literal join of base and name, so that
// the caller can report the name it looked for. An absolute name ignores the base.
std::filesystem::path resolveDataPath(const std::filesystem::path& base, std::string_view name);

}  // namespace kestrel
