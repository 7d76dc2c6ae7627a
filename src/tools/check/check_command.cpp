#include "tools/check/check_command.h"

#include "tools/check/content_files.h"
#include "tools/check/pair_check.h"

namespace kestrel::check {

namespace {

namespace fs = std::filesystem;

void unusedFiles(const fs::path& folder, const NamedFiles& named, Findings& findings) {
  for (const fs::path& file : findMediaFiles(folder))
    if (!named.count(normalised(folder / file)))
      findings.addWarning({file.generic_string(), 0, "named by no line or vehicle file", "unused-file"});
}

}  // namespace

int runCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err) {
  std::vector<SessionChoice> pairs;
  if (options.all) {
    const DataFiles files = findDataFiles(options.data);
    if (files.lines.empty() || files.trains.empty()) {
      err << "kestrel-check: " << options.data.string() << " holds no "
          << (files.lines.empty() ? "line file (with [Station] or [SpeedUnit])" : "vehicle file (with [Brake] or [Notch])")
          << "\n";
      return kExitFault;
    }
    for (const std::string& line : files.lines)
      for (const fs::path& train : files.trains) pairs.push_back(SessionChoice::of(options.data, line, train));
  } else {
    pairs.push_back(SessionChoice::of(options.data, options.line, options.train));
  }

  Findings findings;
  NamedFiles named;
  for (const SessionChoice& choice : pairs) checkPair(choice, findings, named);
  if (options.all) unusedFiles(options.data, named, findings);

  if (options.json)
    out << findingsJson(findings).dump(2) << "\n";
  else
    printFindings(findings, out);
  return findings.faults().empty() ? kExitOk : kExitFault;
}

}  // namespace kestrel::check
