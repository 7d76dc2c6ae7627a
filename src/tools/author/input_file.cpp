#include "tools/author/input_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tools/author/author_error.h"

namespace kestrel::author {

std::string readInputFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw AuthorError(path.string() + ": cannot be read: " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace kestrel::author
