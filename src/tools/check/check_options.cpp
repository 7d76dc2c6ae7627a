#include "tools/check/check_options.h"

namespace kestrel::check {

ParsedCheckOptions parseCheckOptions(const std::vector<std::string>& args) {
  ParsedCheckOptions parsed;
  CheckOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      parsed.help = true;
      return parsed;
    }
    if (a == "--all") {
      o.all = true;
      continue;
    }
    if (a == "--json") {
      o.json = true;
      continue;
    }
    const bool valued = a == "--data" || a == "--line" || a == "--train" || a == "--timeline";
    if (!valued) {
      parsed.error = "unknown option " + a;
      return parsed;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      parsed.error = a + " needs a value";
      return parsed;
    }
    const std::string& v = args[++i];
    if (a == "--data") o.data = v;
    if (a == "--line") o.line = v;
    if (a == "--train") o.train = v;
    if (a == "--timeline") o.timeline = v;
  }
  if (o.all && (!o.line.empty() || !o.train.empty()))
    parsed.error = "give --all or --line and --train, not both";
  else if (!o.all && (o.line.empty() || o.train.empty()))
    parsed.error = "give --line FILE and --train FILE, or --all";
  else if (o.all && !o.timeline.empty())
    parsed.error = "--timeline draws one line: give --line and --train";
  if (parsed.error.empty()) parsed.options = o;
  return parsed;
}

const char* checkUsage() {
  return "usage: kestrel-check [--data DIR] (--line FILE --train FILE | --all) [--json]\n"
         "                     [--timeline FILE.svg]\n"
         "\n"
         "Loads a line with a train as a cab session does, but goes on after a fault, and prints\n"
         "every fault, then every warning, one a line: FILE:LINE: MESSAGE (FILE in the content\n"
         "folder; a message about a file as a whole has no LINE). A fault's message is the one\n"
         "the program would stop with.\n"
         "\n"
         "  --data DIR           the content folder (default: $KESTREL_DATA, the user's data folder,\n"
         "                       the installed content, the working directory: the first with\n"
         "                       railvane.dat)\n"
         "  --line, --train      the line file in it and the vehicle file (relative to it)\n"
         "  --all                every line file with every vehicle file of the folder, and the\n"
         "                       pictures and sounds that none of them names\n"
         "  --json               {\"faults\": [...], \"warnings\": [...]}, each with file, line,\n"
         "                       message and kind\n"
         "  --timeline FILE.svg  the line drawn along its frames and distances\n"
         "\n"
         "Exit status: 0 no fault, 2 a fault, 64 bad usage.\n";
}

}  // namespace kestrel::check
