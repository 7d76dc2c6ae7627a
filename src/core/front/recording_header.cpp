#include "core/front/recording_header.h"

#include <array>
#include <charconv>

#include "core/data/settings_loader.h"
#include "core/front/script_escapes.h"
#include "core/grade/grade_preferences.h"
#include "core/util/number_parse.h"

namespace kestrel {

namespace {

constexpr std::string_view kFormatKeyword = "kestrel-recording";
constexpr std::array<std::string_view, 10> kKeywords = {kFormatKeyword, "line",       "train",      "station",
                                                        "seed",         "preferences", "controller", "program",
                                                        "started",      "score"};

std::string list(const int32_t* values, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += (i ? "," : "") + std::to_string(values[i]);
  return out;
}

std::string fileEntry(std::string_view keyword, const RecordedFile& f) {
  return std::string(keyword) + " " + escapeScriptText(f.name, true) + " " + f.hash;
}

// "NAME=VALUE" fields, each named once, in the order given.
std::optional<std::vector<std::string_view>> namedValues(const std::vector<std::string_view>& fields,
                                                         std::initializer_list<std::string_view> names) {
  if (fields.size() != names.size() + 1) return std::nullopt;
  std::vector<std::string_view> values;
  size_t i = 1;
  for (std::string_view name : names) {
    const std::string_view f = fields[i++];
    if (f.size() <= name.size() || !f.starts_with(name) || f[name.size()] != '=') return std::nullopt;
    values.push_back(f.substr(name.size() + 1));
  }
  return values;
}

bool intList(std::string_view text, int32_t* out, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const size_t comma = i + 1 < n ? text.find(',') : text.size();
    if (comma == std::string_view::npos) return false;
    const auto v = parseInt(text.substr(0, comma));
    if (!v) return false;
    out[i] = *v;
    text.remove_prefix(std::min(comma + 1, text.size()));
  }
  return true;
}

template <typename T>
bool unsignedNumber(std::string_view s, T& out) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

bool hashText(std::string_view s) {
  if (!s.starts_with("sha256:") || s.size() != 7 + 64) return false;
  return s.substr(7).find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::optional<std::string> readFile(const std::vector<std::string_view>& fields, RecordedFile& file) {
  const std::string what = "\"" + std::string(fields[0]) + "\" takes a file name and its hash (sha256:...)";
  if (fields.size() != 3 || !hashText(fields[2])) return what;
  const auto name = unescapeScriptText(fields[1]);
  if (!name || name->empty()) return what;
  file = {*name, std::string(fields[2])};
  return std::nullopt;
}

}  // namespace

std::vector<std::string> formatRecordingHeader(const RecordingHeader& h) {
  const Preferences& p = h.preferences;
  return {
      std::string(kFormatKeyword) + " " + std::to_string(kRecordingFormat),
      fileEntry("line", h.line),
      fileEntry("train", h.train),
      "station " + std::to_string(h.station),
      "seed " + std::to_string(h.seed),
      "preferences Kanko=" + std::to_string(p.CalloutsOff) + " Information=" + std::to_string(p.NoCommentary) +
          " ATS=" + std::to_string(p.AtsOff) + " Tunnel=" + std::to_string(p.VisualEffectsOff) +
          " Moji=" + std::to_string(p.TextMode) + " GradeMode=" + std::to_string(h.gradeMode),
      "controller P=" + list(h.controller.P.data(), h.controller.P.size()) +
          " B=" + list(h.controller.B.data(), h.controller.B.size()) + " EB=" + std::to_string(h.controller.EB),
      "program swapKeys=" + std::to_string(h.program.swapKeys ? 1 : 0) +
          " controllerKind=" + std::to_string(static_cast<int>(h.program.controllerKind)) +
          " padSignature=" + std::to_string(h.program.lastPadSignature),
      "started " + escapeScriptText(h.started, true),
  };
}

std::string formatScoreEntry(std::optional<int32_t> score) {
  return "score " + (score ? std::to_string(*score) : std::string("-"));
}

bool isRecordingEntry(std::string_view keyword) {
  for (std::string_view k : kKeywords)
    if (k == keyword) return true;
  return false;
}

std::optional<std::string> readRecordingEntry(const std::vector<std::string_view>& f, RecordingHeader& h) {
  const std::string_view k = f[0];
  if (k == kFormatKeyword) {
    if (f.size() != 2 || f[1] != std::to_string(kRecordingFormat))
      return "this program reads recordings of format " + std::to_string(kRecordingFormat);
    h.format = kRecordingFormat;
    return std::nullopt;
  }
  if (k == "line") return readFile(f, h.line);
  if (k == "train") return readFile(f, h.train);
  if (k == "station") {
    uint32_t n = 0;
    if (f.size() != 2 || !unsignedNumber(f[1], n) || n > 999999) return std::string("\"station\" takes a station number");
    h.station = static_cast<int32_t>(n);
    return std::nullopt;
  }
  if (k == "seed") {
    if (f.size() != 2 || !unsignedNumber(f[1], h.seed)) return std::string("\"seed\" takes a whole number");
    return std::nullopt;
  }
  if (k == "preferences") {
    const auto v = namedValues(f, {"Kanko", "Information", "ATS", "Tunnel", "Moji", "GradeMode"});
    Preferences p;
    int32_t grade = 0;
    int32_t* fields[] = {&p.CalloutsOff, &p.NoCommentary, &p.AtsOff, &p.VisualEffectsOff, &p.TextMode, &grade};
    bool read = v.has_value();
    for (size_t i = 0; read && i < v->size(); ++i) read = intList((*v)[i], fields[i], 1);
    if (!read)
      return std::string(
          "\"preferences\" takes Kanko=, Information=, ATS=, Tunnel=, Moji= and GradeMode= with whole numbers");
    h.preferences = p;
    h.gradeMode = grade;
    return std::nullopt;
  }
  if (k == "controller") {
    const auto v = namedValues(f, {"P", "B", "EB"});
    ControllerCodes c;
    if (!v || !intList((*v)[0], c.P.data(), c.P.size()) || !intList((*v)[1], c.B.data(), c.B.size()) ||
        !intList((*v)[2], &c.EB, 1))
      return std::string("\"controller\" takes P= with 6 codes, B= with 9 and EB= with 1");
    h.controller = c;
    return std::nullopt;
  }
  if (k == "program") {
    const auto v = namedValues(f, {"swapKeys", "controllerKind", "padSignature"});
    int32_t swap = 0, kind = 0;
    int64_t signature = 0;
    if (!v || !intList((*v)[0], &swap, 1) || swap < 0 || swap > 1 || !intList((*v)[1], &kind, 1) || kind < 0 ||
        kind > 3 || std::from_chars((*v)[2].data(), (*v)[2].data() + (*v)[2].size(), signature).ptr !=
                        (*v)[2].data() + (*v)[2].size())
      return std::string("\"program\" takes swapKeys=0|1, controllerKind=0-3 and padSignature= with a whole number");
    h.program.swapKeys = swap == 1;
    h.program.controllerKind = static_cast<ControllerKind>(kind);
    h.program.lastPadSignature = signature;
    return std::nullopt;
  }
  if (k == "started") {
    const auto text = f.size() == 2 ? unescapeScriptText(f[1]) : std::nullopt;
    if (!text) return std::string("\"started\" takes one field");
    h.started = *text;
    return std::nullopt;
  }
  // score
  int32_t score = 0;
  if (f.size() == 2 && f[1] == "-") {
    h.scored = true;
    h.score.reset();
    return std::nullopt;
  }
  if (f.size() != 2 || !intList(f[1], &score, 1) || score < 0 || score > 100)
    return std::string("\"score\" takes 0 to 100, or \"-\"");
  h.scored = true;
  h.score = score;
  return std::nullopt;
}

void writeRecordedPreferences(PreferenceStore& store, const RecordingHeader& header) {
  writePreferences(store, header.preferences);
  writeControllerCodes(store, header.controller);
  if (auto key = store.openKey(kPreferenceKeyPath)) key->writeInt(grade::kModePreference, header.gradeMode);
}

}  // namespace kestrel
