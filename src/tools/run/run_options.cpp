#include "tools/run/run_options.h"

#include <functional>

#include "core/util/seconds_text.h"

namespace kestrel::run {

namespace {

struct OptionSpec {
  const char* name;
  bool takesValue;
  std::function<bool(RunOptions&, const std::string&)> apply;  // false: the value does not fit
};

bool toCount(const std::string& v, int32_t minimum, int32_t& out) {
  int64_t n = 0;
  if (v.empty() || v.size() > 9) return false;
  for (char c : v) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < minimum) return false;
  out = static_cast<int32_t>(n);
  return true;
}

const std::vector<OptionSpec>& optionSpecs() {
  static const std::vector<OptionSpec> specs = {
      {"--data", true, [](RunOptions& o, const std::string& v) { return o.data = v, !v.empty(); }},
      {"--line", true, [](RunOptions& o, const std::string& v) { return o.line = v, true; }},
      {"--train", true, [](RunOptions& o, const std::string& v) { return o.train = v, true; }},
      {"--check", false, [](RunOptions& o, const std::string&) { return o.check = true, true; }},
      {"--json", false, [](RunOptions& o, const std::string&) { return o.json = true, true; }},
      {"--station", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, toCount(v, 0, o.station); }},
      {"--script", true, [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.script = v, true; }},
      {"--duration", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, (o.durationUs = parseSeconds(v)).has_value(); }},
      {"--trace", true, [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.trace = v, true; }},
      {"--trace-every", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, toCount(v, 1, o.traceEvery); }},
      {"--sound-log", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.soundLog = v, !v.empty(); }},
      {"--prefs", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.prefs = v, !v.empty(); }},
      {"--report", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.report = v, !v.empty(); }},
      {"--plot", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.plot = v, !v.empty(); }},
      {"--record", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.record = v, !v.empty(); }},
      {"--replay", true, [](RunOptions& o, const std::string& v) { return o.replay = v, !v.empty(); }},
      {"--ghost", true,
       [](RunOptions& o, const std::string& v) { return o.driveOption = true, o.ghost = v, !v.empty(); }},
      {"--force", false, [](RunOptions& o, const std::string&) { return o.force = true, true; }},
  };
  return specs;
}

}  // namespace

const char* usageText() {
  return "usage: kestrel-run [--data DIR] --line FILE --train FILE --check [--json]\n"
         "       kestrel-run [--data DIR] --line FILE --train FILE [--station N] [--script FILE]\n"
         "                   [--duration S] [--trace FILE] [--trace-every N] [--sound-log FILE]\n"
         "                   [--prefs FILE] [--report FILE.json] [--plot FILE.svg] [--record FILE]\n"
         "                   [--ghost FILE]\n"
         "       kestrel-run [--data DIR] --replay FILE [--force] [--duration S] [--trace FILE] ...\n"
         "\n"
         "  --data DIR    content directory (the program directory); default: the first folder that\n"
         "                holds railvane.dat of $KESTREL_DATA, $XDG_DATA_HOME/kestrel (or\n"
         "                ~/.local/share/kestrel), ../share/kestrel beside the executable and the\n"
         "                working directory\n"
         "  --line FILE   line file in DIR, e.g. line_exp.dat\n"
         "  --train FILE  vehicle file, relative to DIR unless absolute, e.g. train_383.dat\n"
         "  --check       load the settings, vehicle and line exactly as a cab session would and\n"
         "                print a summary; a faulty file prints its message on stderr (exit 2)\n"
         "  --json        with --check: print the loaded records as one JSON document instead\n"
         "\n"
         "Without --check the drive is played as fast as the CPU allows, from the start command:\n"
         "  --station N       start at station N of the line (default 0, the line's start)\n"
         "  --script FILE     driver inputs, one per line: TIME ACTION ARGS, TIME in seconds of\n"
         "                    drive time, '#' starts a comment; actions: key C (space for a blank),\n"
         "                    keyup C (its release), vkey NAME, vkeyup NAME (Enter, Backspace,\n"
         "                    ScrollLock, Up, Down, PageUp, PageDown, F1-F12, optionally\n"
         "                    Shift+NAME), wheel up|down, menu start, menu jump N, menu save N,\n"
         "                    menu load N (slots 1-3), menu callouts, menu commentary,\n"
         "                    menu stoplines, menu textmode, menu debug, menu controller N,\n"
         "                    serial TEXT, pad X Y BUTTONS, values reload|jump T|resistance|stop C,\n"
         "                    back, end (the drive ends here); a recording's inputs too\n"
         "  --duration S      drive time in seconds; default: the last input plus 10 s\n"
         "  --trace FILE      CSV with one row per tick, written after the tick has run\n"
         "  --trace-every N   one row every N ticks\n"
         "  --sound-log FILE  every operation asked of the mixer, one per line: TIME OP CHANNEL\n"
         "                    [VALUE] [FILE] [nowave]\n"
         "  --prefs FILE      an INI file that holds the preferences and the saved drives, read at\n"
         "                    the start and written at the end as the cab window's close writes\n"
         "                    them; default: a first start in memory. The messages the desktop\n"
         "                    program shows in a box go to stderr with their drive time\n"
         "  --report FILE     the grading of the drive as JSON: score, mode (the preference\n"
         "                    GradeMode of --prefs: practice or exam), stations, events\n"
         "  --plot FILE       the run curves as SVG: speed against distance with the limits, ATS\n"
         "                    patterns, signals and stations, the notches under it\n"
         "  --record FILE     write the drive's recording (the desktop program's format) as it goes\n"
         "  --ghost FILE      race against a recording: the trace's ghostFrame and ghostDeltaS\n"
         "  --replay FILE     play a recording on the line, train, station, seed and preferences it\n"
         "                    names, to its end; a line or vehicle file whose hash differs from the\n"
         "                    recording's stops the replay (exit 2) unless --force is given\n"
         "It prints one summary line: virtual and wall seconds, their ratio, speed, distance, frame.\n"
         "\n"
         "exit status: 0 done, 2 a data file is faulty or the script is malformed (with its line\n"
         "number), 64 bad usage\n";
}

ParsedOptions parseRunOptions(const std::vector<std::string>& args) {
  ParsedOptions result;
  RunOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (arg == "--help" || arg == "-h") {
      result.help = true;
      return result;
    }
    std::optional<std::string> inlineValue;
    if (auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = arg.substr(eq + 1);
      arg.resize(eq);
    }
    const OptionSpec* known = nullptr;
    for (const auto& s : optionSpecs())
      if (arg == s.name) known = &s;
    if (!known) {
      result.error = "unknown option: " + args[i];
      return result;
    }
    std::string value;
    if (known->takesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        result.error = std::string(known->name) + " needs a value";
        return result;
      }
    } else if (inlineValue) {
      result.error = std::string(known->name) + " takes no value";
      return result;
    }
    if (!known->apply(options, value)) {
      result.error = "bad value for " + std::string(known->name) + ": " + value;
      return result;
    }
  }
  if (!options.replay.empty()) {
    if (!options.line.empty() || !options.train.empty() || options.check || options.station != 0 ||
        !options.script.empty() || !options.prefs.empty()) {
      result.error = "--replay takes the line, train, station, inputs and preferences from the recording";
      return result;
    }
    result.options = options;
    return result;
  }
  if (options.force) {
    result.error = "--force goes with --replay";
    return result;
  }
  if (options.line.empty() || options.train.empty()) {
    result.error = options.check ? "--check needs --line and --train" : "a drive needs --line and --train";
    return result;
  }
  if (options.json && !options.check) {
    result.error = "--json goes with --check";
    return result;
  }
  if (options.check && options.driveOption) {
    result.error =
        "--station, --script, --duration, --trace, --sound-log, --prefs, --report, --plot, --record and --ghost go "
        "with a drive, not with --check";
    return result;
  }
  result.options = options;
  return result;
}

}  // namespace kestrel::run
