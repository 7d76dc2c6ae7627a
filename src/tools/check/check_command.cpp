#include "tools/check/check_command.h"

#include <fstream>

#include "platform/qt/chart_document.h"
#include "platform/qt/line_timeline.h"
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

bool writeTimeline(const fs::path& path, const LineData& line) {
  ensureChartApplication();
  const QByteArray svg = lineTimelineSvg(line);
  std::ofstream out(path, std::ios::binary);
  out.write(svg.constData(), svg.size());
  out.flush();
  return static_cast<bool>(out);
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
  for (const SessionChoice& choice : pairs) {
    const LoadedSession session = checkPair(choice, findings, named);
    // What loaded of the line is drawn, faults or not.
    if (!options.timeline.empty() && !writeTimeline(options.timeline, session.line)) {
      err << "kestrel-check: cannot write the timeline " << options.timeline.string() << "\n";
      return kExitFault;
    }
  }
  if (options.all) unusedFiles(options.data, named, findings);

  if (options.json)
    out << findingsJson(findings).dump(2) << "\n";
  else
    printFindings(findings, out);
  return findings.faults().empty() ? kExitOk : kExitFault;
}

}  // namespace kestrel::check
