#pragma once
// An author's input file read whole.
#include <filesystem>
#include <string>

namespace kestrel::author {

// Throws AuthorError ("FILE: cannot be read: reason") when it cannot be read.
std::string readInputFile(const std::filesystem::path& path);

}  // namespace kestrel::author
