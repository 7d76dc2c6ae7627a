#include "core/front/script_escapes.h"

#include <cstdio>

namespace kestrel {

std::string escapeScriptText(std::string_view bytes, bool keepUtf8) {
  std::string out;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == ' ') {
      out += "\\s";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else if ((c > 0x20 && c < 0x7F && c != '#') || (keepUtf8 && c >= 0x80)) {
      out += ch;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> unescapeScriptText(std::string_view field,
                                              const std::function<std::string(std::string_view)>& literal) {
  std::string out;
  std::string run;  // text since the last byte escape
  const auto endRun = [&] {
    out += literal ? literal(run) : run;
    run.clear();
  };
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      run += field[i];
      continue;
    }
    const char e = i + 1 < field.size() ? field[++i] : '\0';
    if (e == 'r') {
      run += '\r';
    } else if (e == 'n') {
      run += '\n';
    } else if (e == 's') {
      run += ' ';
    } else if (e == '\\') {
      run += '\\';
    } else if (e == 'x' && i + 2 < field.size() && hexDigit(field[i + 1]) >= 0 && hexDigit(field[i + 2]) >= 0) {
      endRun();
      out += static_cast<char>(hexDigit(field[i + 1]) * 16 + hexDigit(field[i + 2]));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  endRun();
  return out;
}

}  // namespace kestrel
