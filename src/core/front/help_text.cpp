#include "core/front/help_text.h"

#include <fstream>
#include <iterator>

#include "core/util/cp932.h"
#include "core/util/path_lookup.h"

namespace kestrel {

HelpText parseHelpText(std::string_view bytes) {
  HelpText help;
  const auto lines = decodeCp932Lines(bytes);
  if (lines.empty()) return help;
  help.caption = lines.front().text;
  for (size_t i = 1; i < lines.size(); ++i) help.lines.push_back(lines[i].text);
  return help;
}

std::optional<HelpText> readHelpText(const std::filesystem::path& programDirectory) {
  std::ifstream in(resolveDataPath(programDirectory, std::string(kHelpFile)), std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return parseHelpText(bytes);
}

}  // namespace kestrel
