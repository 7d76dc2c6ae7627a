#pragma once
// The help window's text, operation.dat: its first line is the window caption, every further
// line one line of the text, in file order (Shift-JIS, decoded here).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

inline constexpr std::string_view kHelpFile = "operation.dat";
inline constexpr std::string_view kHelpDefaultCaption = "Help";

struct HelpText {
  std::string caption{kHelpDefaultCaption};
  std::vector<std::string> lines;
};

HelpText parseHelpText(std::string_view cp932Bytes);
// nullopt when the file cannot be read: the window then keeps its own caption and an empty text
// rather than keeping the program from starting.
std::optional<HelpText> readHelpText(const std::filesystem::path& programDirectory);

}  // namespace kestrel
