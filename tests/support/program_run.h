#pragma once
// Runs one of the programs as a user would, from a shell, and keeps what it printed.
#include <string>
#include <vector>

namespace kestrel::test {

struct ProgramResult {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out, err;
};

// `program` with `args` (each quoted); stdout and stderr go through files in a scratch folder
// named after the running test, since CTest runs tests in parallel.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace kestrel::test
