#include "core/util/path_lookup.h"

#include <string>
#include <system_error>
#include <vector>

namespace kestrel {

namespace {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::vector<std::string> splitComponents(std::string_view name) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : name) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

}  // namespace

std::filesystem::path resolveDataPath(const std::filesystem::path& base, std::string_view name) {
  namespace fs = std::filesystem;
  const bool absolute = !name.empty() && (name.front() == '/' || name.front() == '\\');
  fs::path literal = absolute ? fs::path("/") : base;
  fs::path resolved = literal;
  bool stillResolving = true;
  std::error_code ec;
  for (const std::string& part : splitComponents(name)) {
    literal /= part;
    if (!stillResolving) {
      resolved /= part;
      continue;
    }
    fs::path exact = resolved / part;
    if (part == "." || part == ".." || fs::exists(exact, ec)) {
      resolved = exact;
      continue;
    }
    // Several spellings may match ("A.bmp" and "a.BMP"); take the smallest name so that the
    // choice does not depend on the directory's order.
    fs::path match;
    for (const auto& entry : fs::directory_iterator(resolved.empty() ? fs::path(".") : resolved, ec)) {
      const fs::path candidate = entry.path().filename();
      if (equalsIgnoringAsciiCase(candidate.string(), part) && (match.empty() || candidate < match))
        match = candidate;
    }
    if (!match.empty()) {
      resolved /= match;
    } else {
      stillResolving = false;
      resolved /= part;
    }
  }
  return stillResolving ? resolved : literal;
}

}  // namespace kestrel
