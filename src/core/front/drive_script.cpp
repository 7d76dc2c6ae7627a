#include "core/front/drive_script.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "core/front/script_escapes.h"
#include "core/util/cp932.h"

namespace kestrel {

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

std::string utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// "U+0023": any character by its code point.
std::optional<char32_t> codePoint(std::string_view s) {
  if (s.size() < 6 || s.size() > 8 || !s.starts_with("U+")) return std::nullopt;
  uint32_t c = 0;
  const auto [end, ec] = std::from_chars(s.data() + 2, s.data() + s.size(), c, 16);
  if (ec != std::errc() || end != s.data() + s.size() || c == 0 || c > 0x10FFFF) return std::nullopt;
  return static_cast<char32_t>(c);
}

// A field that may stand for nothing: "-".
std::optional<std::string> optionalText(std::string_view field) {
  if (field == "-") return std::string();
  return unescapeScriptText(field);
}
std::string optionalField(std::string_view text) {
  if (text.empty()) return "-";
  if (text == "-") return "\\x2D";
  return escapeScriptText(text, true);
}

constexpr std::pair<std::string_view, CabMenuItem> kToggles[] = {
    {"callouts", CabMenuItem::CalloutsOff},    {"commentary", CabMenuItem::NoCommentary},
    {"stoplines", CabMenuItem::StopLinesHidden}, {"textmode", CabMenuItem::TextMode},
    {"debug", CabMenuItem::Debug},     {"visualeffects", CabMenuItem::VisualEffectsOff},
};
constexpr CabMenuItem kControllerKinds[] = {CabMenuItem::ControllerStandard, CabMenuItem::ControllerWindowsGo,
                                            CabMenuItem::ControllerPsGo, CabMenuItem::ControllerOhc};

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
    if (action == "values") return parseValues();
    if (action == "back" || action == "end") {
      in.kind = action == "back" ? ScriptInput::Kind::Back : ScriptInput::Kind::End;
      return argumentCount(0);
    }
    return fail("unknown action \"" + std::string(action) + "\"");
  }
  bool parseKey(bool up) {
    if (!argumentCount(1)) return false;
    in.kind = up ? ScriptInput::Kind::KeyUp : ScriptInput::Kind::Key;
    if (t[2] == "space") {
      in.character = U' ';
      return true;
    }
    auto c = singleCharacter(t[2]);
    if (!c) c = codePoint(t[2]);
    if (!c) return fail("\"" + std::string(t[1]) + "\" takes one character (or \"space\", or U+XXXX)");
    in.character = *c;
    return true;
  }
  bool parseVirtualKey(bool up) {
    if (!argumentCount(1)) return false;
    in.kind = up ? ScriptInput::Kind::VirtualKeyUp : ScriptInput::Kind::VirtualKeyDown;
    std::string_view name = t[2];
    for (bool more = true; more;) {
      more = false;
      for (auto [prefix, flag] : {std::pair{std::string_view("Shift+"), &in.modifiers.shift},
                                  std::pair{std::string_view("Ctrl+"), &in.modifiers.ctrl},
                                  std::pair{std::string_view("Alt+"), &in.modifiers.alt}}) {
        if (!name.starts_with(prefix) || *flag) continue;
        *flag = true;
        name.remove_prefix(prefix.size());
        more = true;
      }
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
    const std::string_view what = t.size() >= 3 ? t[2] : std::string_view{};
    if (what == "start") {
      in.kind = ScriptInput::Kind::MenuStart;
      return t.size() == 3 || fail("\"menu start\" takes no argument");
    }
    if (what == "jump") {
      in.kind = ScriptInput::Kind::MenuJump;
      if (t.size() != 4) return fail("\"menu jump\" takes a station number");
      const std::string_view n = t[3];
      const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), in.station);
      if (ec != std::errc() || end != n.data() + n.size() || in.station < 0)
        return fail("\"" + std::string(n) + "\" is not a station number");
      return true;
    }
    if (what == "save" || what == "load") {
      const bool load = what == "load";
      in.kind = load ? ScriptInput::Kind::MenuLoad : ScriptInput::Kind::MenuSave;
      const bool slotOk = t.size() >= 4 && t[3].size() == 1 && t[3][0] >= '1' && t[3][0] <= '3';
      if (!slotOk || t.size() > (load ? 5u : 4u))
        return fail("\"menu " + std::string(what) + "\" takes a slot number 1, 2 or 3" +
                    (load ? " and the slot's text" : ""));
      in.slot = t[3][0] - '0';
      if (t.size() == 5) {
        in.slotText = optionalText(t[4]);
        if (!in.slotText) return fail("\"menu load\": the slot's text has an unknown escape");
      }
      return true;
    }
    if (what == "controller") {
      in.kind = ScriptInput::Kind::MenuController;
      if (t.size() != 4 || t[3].size() != 1 || t[3][0] < '0' || t[3][0] > '3')
        return fail("\"menu controller\" takes a kind 0, 1, 2 or 3");
      in.item = kControllerKinds[t[3][0] - '0'];
      return true;
    }
    for (const auto& [name, item] : kToggles) {
      if (what != name) continue;
      in.kind = ScriptInput::Kind::MenuToggle;
      in.item = item;
      return t.size() == 3 || fail("\"menu " + std::string(name) + "\" takes no argument");
    }
    return fail(
        "\"menu\" takes \"start\", \"jump N\", \"save N\", \"load N\", \"callouts\", \"commentary\", "
        "\"stoplines\", \"textmode\", \"debug\" or \"controller N\"");
  }
  bool parseSerial() {
    if (!argumentCount(1)) return false;
    in.kind = ScriptInput::Kind::Serial;
    try {
      // Text is sent as a controller would send it, in Shift-JIS; "\xHH" is a byte as it is.
      const auto bytes = unescapeScriptText(t[2], [](std::string_view text) { return encodeCp932(text); });
      if (!bytes) return fail("\"serial\" knows the escapes \\r, \\n, \\s, \\\\ and \\xHH");
      in.bytes = *bytes;
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
  bool parseValues() {
    const std::string_view what = t.size() >= 3 ? t[2] : std::string_view{};
    const auto takes = [&](size_t n, const char* usage) { return t.size() == n + 3 || fail(usage); };
    if (what == "reload") {
      in.kind = ScriptInput::Kind::ValuesReload;
      return takes(0, "\"values reload\" takes no argument");
    }
    if (what == "resistance") {
      in.kind = ScriptInput::Kind::ValuesResistance;
      return takes(0, "\"values resistance\" takes no argument");
    }
    if (what == "jump") {
      in.kind = ScriptInput::Kind::ValuesJump;
      if (!takes(1, "\"values jump\" takes the text typed beside the button")) return false;
      const auto text = optionalText(t[3]);
      if (!text) return fail("\"values jump\": the text has an unknown escape");
      in.bytes = *text;
      return true;
    }
    if (what == "stop") {
      in.kind = ScriptInput::Kind::ValuesStop;
      if (!takes(1, "\"values stop\" takes a sound channel 0 .. 99")) return false;
      if (!integer(t[3], in.channel) || in.channel < 0 || in.channel > 99)
        return fail("\"values stop\" takes a sound channel 0 .. 99");
      return true;
    }
    return fail("\"values\" takes \"reload\", \"jump TEXT\", \"resistance\" or \"stop C\"");
  }
};

}  // namespace

ParsedRecording parseDriveRecording(std::string_view text) {
  DriveRecording recording;
  int number = 0;
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
    ++number;
    // The recorder ends every line it writes: a last line without its end was cut by a crash.
    if (eol == std::string_view::npos && recording.header.format != 0) {
      recording.cut = true;
      break;
    }
    if (const size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    LineParser p{number, tokens(line), {}, {}};
    if (p.t.empty()) continue;
    if (isRecordingEntry(p.t[0])) {
      if (auto e = readRecordingEntry(p.t, recording.header)) return ScriptError{number, *e};
      continue;
    }
    if (!p.parse()) return ScriptError{number, p.error};
    if (!recording.inputs.empty() && p.in.timeUs < recording.inputs.back().timeUs)
      return ScriptError{number, "the time goes back before the line above"};
    recording.inputs.push_back(std::move(p.in));
  }
  return recording;
}

ParsedScript parseDriveScript(std::string_view text) {
  auto parsed = parseDriveRecording(text);
  if (auto* e = std::get_if<ScriptError>(&parsed)) return *e;
  return std::move(std::get<DriveRecording>(parsed).inputs);
}

namespace {

std::string keyField(char32_t c) {
  if (c == U' ') return "space";
  if (c > 0x20 && c != U'#' && c != 0x7F && !(c >= 0x80 && c < 0xA0)) return utf8(c);
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

std::string menuItemName(CabMenuItem item) {
  for (const auto& [name, i] : kToggles)
    if (i == item) return std::string(name);
  for (size_t k = 0; k < std::size(kControllerKinds); ++k)
    if (kControllerKinds[k] == item) return "controller " + std::to_string(k);
  return "?";
}

std::string padFields(const GamepadState& pad) {
  std::string buttons;
  for (size_t b = 0; b < pad.buttons.size(); ++b)
    if (pad.buttons[b]) buttons += (buttons.empty() ? "" : ",") + std::to_string(b);
  return std::to_string(pad.x) + " " + std::to_string(pad.y) + " " + (buttons.empty() ? "-" : buttons);
}

std::string actionOf(const ScriptInput& in) {
  using K = ScriptInput::Kind;
  switch (in.kind) {
    case K::Key:
      return "key " + keyField(in.character);
    case K::KeyUp:
      return "keyup " + keyField(in.character);
    case K::VirtualKeyDown:
    case K::VirtualKeyUp:
      return std::string(in.kind == K::VirtualKeyDown ? "vkey " : "vkeyup ") + (in.modifiers.shift ? "Shift+" : "") +
             (in.modifiers.ctrl ? "Ctrl+" : "") + (in.modifiers.alt ? "Alt+" : "") +
             std::string(virtualKeyName(in.key));
    case K::Wheel:
      return in.wheelUp ? "wheel up" : "wheel down";
    case K::MenuStart:
      return "menu start";
    case K::MenuJump:
      return "menu jump " + std::to_string(in.station);
    case K::MenuSave:
      return "menu save " + std::to_string(in.slot);
    case K::MenuLoad:
      return "menu load " + std::to_string(in.slot) + (in.slotText ? " " + optionalField(*in.slotText) : "");
    case K::MenuToggle:
    case K::MenuController:
      return "menu " + menuItemName(in.item);
    case K::Serial:
      return "serial " + escapeScriptText(in.bytes, false);
    case K::Pad:
      return "pad " + padFields(in.pad);
    case K::ValuesReload:
      return "values reload";
    case K::ValuesJump:
      return "values jump " + optionalField(in.bytes);
    case K::ValuesResistance:
      return "values resistance";
    case K::ValuesStop:
      return "values stop " + std::to_string(in.channel);
    case K::Back:
      return "back";
    case K::End:
      return "end";
  }
  return {};
}

}  // namespace

std::string formatScriptInput(const ScriptInput& input) {
  return formatSeconds(input.timeUs) + " " + actionOf(input);
}

}  // namespace kestrel
