#include "tools/run/run_options.h"

#include <functional>

namespace kestrel::run {

namespace {

struct OptionSpec {
  const char* name;
  bool takesValue;
  std::function<void(RunOptions&, const std::string&)> apply;
};

const std::vector<OptionSpec>& optionSpecs() {
  static const std::vector<OptionSpec> specs = {
      {"--data", true, [](RunOptions& o, const std::string& v) { o.data = v; }},
      {"--line", true, [](RunOptions& o, const std::string& v) { o.line = v; }},
      {"--train", true, [](RunOptions& o, const std::string& v) { o.train = v; }},
      {"--check", false, [](RunOptions& o, const std::string&) { o.check = true; }},
      {"--json", false, [](RunOptions& o, const std::string&) { o.json = true; }},
  };
  return specs;
}

}  // namespace

const char* usageText() {
  return "usage: kestrel-run --data DIR --line FILE --train FILE --check [--json]\n"
         "\n"
         "  --data DIR    content directory (the program directory); default: the working directory\n"
         "  --line FILE   line file in DIR, e.g. line_exp.dat\n"
         "  --train FILE  vehicle file, relative to DIR unless absolute, e.g. train_383.dat\n"
         "  --check       load the settings, vehicle and line exactly as a cab session would and\n"
         "                print a summary; a faulty file prints its message on stderr (exit 2)\n"
         "  --json        with --check: print the loaded records as one JSON document instead\n"
         "\n"
         "exit status: 0 loaded, 2 a data file is faulty, 64 bad usage\n";
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
    const OptionSpec* spec = nullptr;
    for (const auto& s : optionSpecs())
      if (arg == s.name) spec = &s;
    if (!spec) {
      result.error = "unknown option: " + args[i];
      return result;
    }
    std::string value;
    if (spec->takesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        result.error = std::string(spec->name) + " needs a value";
        return result;
      }
    } else if (inlineValue) {
      result.error = std::string(spec->name) + " takes no value";
      return result;
    }
    spec->apply(options, value);
  }
  if (!options.check) {
    result.error = "no command given (--check)";
    return result;
  }
  if (options.line.empty() || options.train.empty()) {
    result.error = "--check needs --line and --train";
    return result;
  }
  if (options.json && !options.check) {
    result.error = "--json goes with --check";
    return result;
  }
  result.options = options;
  return result;
}

}  // namespace kestrel::run
