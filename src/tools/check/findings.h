#pragma once
// What kestrel-check found: faults (a drive would stop with their message) and warnings (a drive
// runs, but not as the author meant), each on a line of a file of the content folder.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace kestrel::check {

struct Finding {
  std::string file;     // relative to the content folder, '/' between folders
  int32_t line = 0;     // 1-based; 0: the file as a whole
  std::string message;
  std::string kind;     // a word for programs: "syntax", "picture", "order", "unused-file" ...
};

class Findings {
 public:
  // The same finding twice (two trains on one line share its faults) counts once.
  void addFault(Finding finding) { add(faults_, std::move(finding)); }
  void addWarning(Finding finding) { add(warnings_, std::move(finding)); }
  const std::vector<Finding>& faults() const { return faults_; }
  const std::vector<Finding>& warnings() const { return warnings_; }

 private:
  void add(std::vector<Finding>& list, Finding finding);
  std::vector<Finding> faults_, warnings_;
  std::set<std::tuple<std::string, int32_t, std::string>> seen_;
};

// One per line, "FILE:LINE: MESSAGE" ("FILE: MESSAGE" for a file as a whole), faults first.
void printFindings(const Findings& findings, std::ostream& out);
// {"faults": [...], "warnings": [...]}, each {"file", "line" (null for a file as a whole),
// "message", "kind"}.
nlohmann::json findingsJson(const Findings& findings);

}  // namespace kestrel::check
