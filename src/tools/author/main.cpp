// kestrel-author: tools for route authors — the [SpeedUnit] table of a route movie from a GPS
// track or from marks, and the frames at which places were passed.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "core/front/content_directory.h"
#include "platform/qt/process_environment.h"
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
  AuthorOptions options = *parsed.options;
  if (!options.line.empty()) {
    // A line's movie is found in the content folder, searched as every program searches it.
    const kestrel::ContentLocation content = kestrel::locateContent(options.data, kestrel::contentEnvironmentOfProcess());
    if (!content.directory) {
      std::cerr << kestrel::kMisplacedProgram << "\n" << kestrel::searchedFoldersReport(content);
      return kExitBadInput;
    }
    if (const std::string note = kestrel::skippedVariableNote(content); !note.empty())
      std::cerr << "kestrel-author: " << note;
    options.data = *content.directory;
  }
  try {
    if (options.command == AuthorCommand::Locate)
      runLocate(options, std::cout);
    else
      runSpeedUnit(options, std::cout, std::cerr);
  } catch (const AuthorError& e) {
    std::cerr << "kestrel-author: " << e.what() << "\n";
    return kExitBadInput;
  } catch (const std::exception& e) {
    std::cerr << "kestrel-author: internal error: " << e.what() << "\n";
    return 1;
  }
  return kExitOk;
}
