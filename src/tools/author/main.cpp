// kestrel-author: tools for route authors — the [SpeedUnit] table of a route movie from a GPS
// track or from marks, and the frames at which places were passed.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/author/author_commands.h"
#include "tools/author/author_error.h"

int main(int argc, char** argv) {
  using namespace kestrel::author;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedAuthorOptions parsed = parseAuthorOptions(args);
  if (parsed.help) {
    std::cout << authorUsage();
    return kExitOk;
  }
  if (!parsed.options) {
    std::cerr << "kestrel-author: " << parsed.error << "\n\n" << authorUsage();
    return kExitUsage;
  }
  try {
    if (parsed.options->command == AuthorCommand::Locate)
      runLocate(*parsed.options, std::cout);
    else
      runSpeedUnit(*parsed.options, std::cout, std::cerr);
  } catch (const AuthorError& e) {
    std::cerr << "kestrel-author: " << e.what() << "\n";
    return kExitBadInput;
  } catch (const std::exception& e) {
    std::cerr << "kestrel-author: internal error: " << e.what() << "\n";
    return 1;
  }
  return kExitOk;
}
