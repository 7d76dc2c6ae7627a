#include "tools/check/findings.h"

namespace kestrel::check {

namespace {

void print(const std::vector<Finding>& list, std::ostream& out) {
  for (const Finding& f : list) {
    out << f.file;
    if (f.line > 0) out << ":" << f.line;
    out << ": " << f.message << "\n";
  }
}

nlohmann::json listJson(const std::vector<Finding>& list) {
  nlohmann::json array = nlohmann::json::array();
  for (const Finding& f : list)
    array.push_back({{"file", f.file},
                     {"line", f.line > 0 ? nlohmann::json(f.line) : nlohmann::json(nullptr)},
                     {"message", f.message},
                     {"kind", f.kind}});
  return array;
}

}  // namespace

void Findings::add(std::vector<Finding>& list, Finding finding) {
  if (!seen_.emplace(finding.file, finding.line, finding.message).second) return;
  list.push_back(std::move(finding));
}

void printFindings(const Findings& findings, std::ostream& out) {
  print(findings.faults(), out);
  print(findings.warnings(), out);
}

nlohmann::json findingsJson(const Findings& findings) {
  return {{"faults", listJson(findings.faults())}, {"warnings", listJson(findings.warnings())}};
}

}  // namespace kestrel::check
