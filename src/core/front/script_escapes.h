#pragma once
// Free text inside a line of a drive script: a field without blanks, a "#" (which would start a
// comment) or control characters. "\s" stands for a blank, "\r" and "\n" for the line ends, "\\"
// for a backslash and "\xHH" for any byte; everything else stands for itself.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// Bytes as one field: printable ASCII other than "#" and "\" as they are; UTF-8 text is kept
// readable when `keepUtf8` is set (file names), escaped byte by byte otherwise (serial bytes).
std::string escapeScriptText(std::string_view bytes, bool keepUtf8);
// The bytes a field stands for; nullopt for an unknown or cut escape. `literal`, when set, turns
// each run of text between "\xHH" escapes into bytes (serial text: UTF-8 into Shift-JIS, as a
// controller would send it); it may throw.
std::optional<std::string> unescapeScriptText(
    std::string_view field, const std::function<std::string(std::string_view)>& literal = {});

}  // namespace kestrel
