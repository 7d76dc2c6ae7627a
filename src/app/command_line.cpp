#include "app/command_line.h"

namespace kestrel::app {

const char* desktopUsage() {
  return "usage: kestrel [--data DIR] [--line FILE --train FILE [--station N] [--script FILE [--speed N]]]\n"
         "               [--ghost FILE] [--trace FILE]\n"
         "       kestrel [--data DIR] --replay FILE [--speed 1|2|4] [--trace FILE]\n"
         "       kestrel --help | --version\n"
         "\n"
         "  --data DIR     content directory (railvane.dat, lines, trains, pictures, sounds, movies);\n"
         "                 default: the first folder that holds railvane.dat of $KESTREL_DATA,\n"
         "                 $XDG_DATA_HOME/kestrel (or ~/.local/share/kestrel), ../share/kestrel\n"
         "                 beside the executable, and the working directory\n"
         "  --line FILE    with --train: skip the title and start this drive; the title menu\n"
         "                 follows when the cab window closes\n"
         "  --train FILE   vehicle file, relative to DIR unless absolute\n"
         "  --station N    start at station N of the line (default 0)\n"
         "  --trace FILE   write the drive's CSV trace (the columns of kestrel-run --trace), one row\n"
         "                 per tick, and the time from the train click to the cab window's first frame\n"
         "                 on stderr\n"
         "  --script FILE  play a kestrel-run script in the drive of --line and --train: each input\n"
         "                 at its drive time, the sounds kept in drive time and played silently, so\n"
         "                 that the drive, and its grading, are kestrel-run's for the same inputs\n"
         "  --speed N      with --script: N drive seconds per second (1 to 50; default 1); with\n"
         "                 --replay: 1, 2 or 4\n"
         "  --ghost FILE   race the drives against this recording; default: the best-graded recorded\n"
         "                 drive of the same line and train, if any\n"
         "  --replay FILE  play a drive recording (kept in $XDG_DATA_HOME/kestrel/drives) over the\n"
         "                 route movie, on the line, train and start station it names; the driver's\n"
         "                 inputs are ignored while it plays, except pause (the start item), the\n"
         "                 Replay menu's speed, and the close\n";
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine result;
  DesktopOptions o;
  bool stationGiven = false;
  bool speedGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      result.help = true;
      return result;
    }
    if (a == "--version") {
      result.version = true;
      return result;
    }
    const bool takesValue =
        a == "--data" || a == "--line" || a == "--train" || a == "--station" || a == "--trace" ||
        a == "--script" || a == "--speed" || a == "--replay" || a == "--ghost";
    if (!takesValue) {
      result.error = "unknown option: " + a;
      return result;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      result.error = a + " needs a value";
      return result;
    }
    const std::string& v = args[++i];
    if (a == "--data") {
      o.data = v;
    } else if (a == "--line") {
      o.line = v;
    } else if (a == "--train") {
      o.train = v;
    } else if (a == "--trace") {
      o.trace = v;
    } else if (a == "--ghost") {
      o.ghost = v;
    } else if (a == "--replay") {
      o.replay = v;
    } else if (a == "--script") {
      o.script = v;
    } else if (a == "--speed") {
      if (v.size() > 2 || v.find_first_not_of("0123456789") != std::string::npos || std::stoi(v) < 1 ||
          std::stoi(v) > 50) {
        result.error = "bad value for --speed: " + v;
        return result;
      }
      o.speed = std::stoi(v);
      speedGiven = true;
    } else {
      if (v.size() > 9 || v.find_first_not_of("0123456789") != std::string::npos) {
        result.error = "bad value for --station: " + v;
        return result;
      }
      o.station = std::stoi(v);
      stationGiven = true;
    }
  }
  if (o.line.empty() != o.train.empty()) {
    result.error = "--line and --train go together";
    return result;
  }
  if (stationGiven && o.line.empty()) {
    result.error = "--station goes with --line and --train";
    return result;
  }
  if (!o.script.empty() && o.line.empty()) {
    result.error = "--script goes with --line and --train";
    return result;
  }
  if (!o.replay.empty() && (!o.line.empty() || !o.script.empty() || !o.ghost.empty())) {
    result.error = "--replay takes the line, train, station and inputs from the recording";
    return result;
  }
  if (speedGiven && o.script.empty() && o.replay.empty()) {
    result.error = "--speed goes with --script or --replay";
    return result;
  }
  if (!o.replay.empty() && o.speed != 1 && o.speed != 2 && o.speed != 4) {
    result.error = "a replay plays at --speed 1, 2 or 4";
    return result;
  }
  result.options = o;
  return result;
}

}  // namespace kestrel::app
