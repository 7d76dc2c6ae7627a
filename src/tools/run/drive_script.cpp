#include "tools/run/drive_script.h"

#include <charconv>
#include <optional>
#include <stdexcept>
#include <utility>

#include "core/util/cp932.h"

namespace kestrel::run {

namespace {

std::vector<std::string_view> tokens(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
    if (j > i) out.push_back(line.substr(i, j - i));
    i = j;
  }
  return out;
}

}  // namespace

std::optional<int64_t> parseSeconds(std::string_view s) {
  const size_t dot = s.find('.');
  const std::string_view whole = s.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : s.substr(dot + 1);
  if (whole.empty() || whole.size() > 9 || fraction.size() > 6) return std::nullopt;
  if (dot != std::string_view::npos && fraction.empty()) return std::nullopt;
  int64_t us = 0;
  for (char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
    us = us * 10 + (c - '0');
  }
  int64_t frac = 0;
  for (size_t i = 0; i < 6; ++i) {
    const char c = i < fraction.size() ? fraction[i] : '0';
    if (c < '0' || c > '9') return std::nullopt;
    frac = frac * 10 + (c - '0');
  }
  return us * 1000000 + frac;
}

namespace {

// Exactly one UTF-8 encoded character.
std::optional<char32_t> singleCharacter(std::string_view s) {
  if (s.empty()) return std::nullopt;
  const auto b0 = static_cast<unsigned char>(s[0]);
  size_t length = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || s.size() != length) return std::nullopt;
  if (length == 1) return b0;
  char32_t c = b0 & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b >> 6) != 0x2) return std::nullopt;
    c = (c << 6) | (b & 0x3F);
  }
  return c;
}

struct LineParser {
  int line;
  std::vector<std::string_view> t;
  ScriptInput in;
  std::string error;

  bool fail(std::string message) {
    error = std::move(message);
    return false;
  }
  bool argumentCount(size_t n) {
    if (t.size() == n + 2) return true;
    return fail("\"" + std::string(t[1]) + "\" takes " + std::to_string(n) + " argument" +
                (n == 1 ? "" : "s"));
  }

  bool parse() {
    const auto time = parseSeconds(t[0]);
    if (!time) return fail("\"" + std::string(t[0]) + "\" is not a time in seconds");
    in.timeUs = *time;
    in.line = line;
    if (t.size() < 2) return fail("an action must follow the time");
    const std::string_view action = t[1];
    if (action == "key" || action == "keyup") return parseKey(action == "keyup");
    if (action == "vkey" || action == "vkeyup") return parseVirtualKey(action == "vkeyup");
    if (action == "wheel") return parseWheel();
    if (action == "menu") return parseMenu();
    if (action == "serial") return parseSerial();
    if (action == "pad") return parsePad();
    return fail("unknown action \"" + std::string(action) + "\"");
  }
  bool parseKey(bool up) {
    if (!argumentCount(1)) return false;
    in.kind = up ? ScriptInput::Kind::KeyUp : ScriptInput::Kind::Key;
    if (t[2] == "space") {
      in.character = U' ';
      return true;
    }
    const auto c = singleCharacter(t[2]);
    if (!c) return fail("\"" + std::string(t[1]) + "\" takes one character (or \"space\")");
    in.character = *c;
    return true;
  }
  bool parseVirtualKey(bool up) {
    if (!argumentCount(1)) return false;
    in.kind = up ? ScriptInput::Kind::VirtualKeyUp : ScriptInput::Kind::VirtualKeyDown;
    std::string_view name = t[2];
    if (name.starts_with("Shift+")) {
      in.modifiers.shift = true;
      name.remove_prefix(6);
    }
    const auto key = virtualKeyFromName(name);
    if (!key) return fail("unknown virtual key \"" + std::string(name) + "\"");
    in.key = *key;
    return true;
  }
  bool parseWheel() {
    if (!argumentCount(1)) return false;
    in.kind = ScriptInput::Kind::Wheel;
    if (t[2] != "up" && t[2] != "down") return fail("\"wheel\" takes \"up\" or \"down\"");
    in.wheelUp = t[2] == "up";
    return true;
  }
  bool parseMenu() {
    if (t.size() >= 3 && t[2] == "start") {
      in.kind = ScriptInput::Kind::MenuStart;
      return t.size() == 3 || fail("\"menu start\" takes no argument");
    }
    if (t.size() >= 3 && t[2] == "jump") {
      in.kind = ScriptInput::Kind::MenuJump;
      if (t.size() != 4) return fail("\"menu jump\" takes a station number");
      const std::string_view n = t[3];
      const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), in.station);
      if (ec != std::errc() || end != n.data() + n.size() || in.station < 0)
        return fail("\"" + std::string(n) + "\" is not a station number");
      return true;
    }
    if (t.size() >= 3 && (t[2] == "save" || t[2] == "load")) {
      in.kind = t[2] == "save" ? ScriptInput::Kind::MenuSave : ScriptInput::Kind::MenuLoad;
      if (t.size() != 4 || t[3].size() != 1 || t[3][0] < '1' || t[3][0] > '3')
        return fail("\"menu " + std::string(t[2]) + "\" takes a slot number 1, 2 or 3");
      in.slot = t[3][0] - '0';
      return true;
    }
    if (t.size() >= 3 && t[2] == "controller") {
      static constexpr CabMenuItem kKinds[] = {CabMenuItem::ControllerStandard,
                                               CabMenuItem::ControllerWindowsGo, CabMenuItem::ControllerPsGo,
                                               CabMenuItem::ControllerOhc};
      in.kind = ScriptInput::Kind::MenuController;
      if (t.size() != 4 || t[3].size() != 1 || t[3][0] < '0' || t[3][0] > '3')
        return fail("\"menu controller\" takes a kind 0, 1, 2 or 3");
      in.item = kKinds[t[3][0] - '0'];
      return true;
    }
    static constexpr std::pair<std::string_view, CabMenuItem> kToggles[] = {
        {"callouts", CabMenuItem::CalloutsOff},
        {"commentary", CabMenuItem::NoCommentary},
        {"stoplines", CabMenuItem::StopLinesHidden},
        {"textmode", CabMenuItem::TextMode},
    };
    for (const auto& [name, item] : kToggles) {
      if (t.size() < 3 || t[2] != name) continue;
      in.kind = ScriptInput::Kind::MenuToggle;
      in.item = item;
      return t.size() == 3 || fail("\"menu " + std::string(name) + "\" takes no argument");
    }
    return fail(
        "\"menu\" takes \"start\", \"jump N\", \"save N\", \"load N\", \"callouts\", \"commentary\", "
        "\"stoplines\", \"textmode\" or \"controller N\"");
  }
  bool parseSerial() {
    if (!argumentCount(1)) return false;
    in.kind = ScriptInput::Kind::Serial;
    std::string text;
    const std::string_view arg = t[2];
    for (size_t i = 0; i < arg.size(); ++i) {
      if (arg[i] != '\\') {
        text += arg[i];
        continue;
      }
      const char e = i + 1 < arg.size() ? arg[++i] : '\0';
      if (e == 'r')
        text += '\r';
      else if (e == 'n')
        text += '\n';
      else if (e == 's')
        text += ' ';
      else if (e == '\\')
        text += '\\';
      else
        return fail("\"serial\" knows the escapes \\r, \\n, \\s and \\\\");
    }
    try {
      in.bytes = encodeCp932(text);  // as a controller would send the text
    } catch (const std::invalid_argument&) {
      return fail("\"serial\" text has a character that Shift-JIS cannot send");
    }
    return true;
  }
  static bool integer(std::string_view s, int& out) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
  }
  bool parsePad() {
    if (!argumentCount(3)) return false;
    in.kind = ScriptInput::Kind::Pad;
    if (!integer(t[2], in.pad.x) || !integer(t[3], in.pad.y))
      return fail("\"pad\" takes the X and Y axes as integers");
    if (t[4] == "-") return true;
    std::string_view list = t[4];
    while (true) {
      const size_t comma = list.find(',');
      int button = -1;
      if (!integer(list.substr(0, comma), button) || button < 0 ||
          button >= static_cast<int>(in.pad.buttons.size()))
        return fail("\"pad\" takes the pressed buttons 0 .. 15 as a comma list, or \"-\"");
      in.pad.buttons[static_cast<size_t>(button)] = true;
      if (comma == std::string_view::npos) return true;
      list.remove_prefix(comma + 1);
    }
  }
};

}  // namespace

ParsedScript parseDriveScript(std::string_view text) {
  std::vector<ScriptInput> inputs;
  int number = 0;
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
    ++number;
    if (const size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    LineParser p{number, tokens(line), {}, {}};
    if (p.t.empty()) continue;
    if (!p.parse()) return ScriptError{number, p.error};
    if (!inputs.empty() && p.in.timeUs < inputs.back().timeUs)
      return ScriptError{number, "the time goes back before the line above"};
    inputs.push_back(p.in);
  }
  return inputs;
}

}  // namespace kestrel::run
