#include "support/program_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/test_paths.h"

namespace kestrel::test {

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args) {
  static int n = 0;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "program";
  for (char& c : name)
    if (c == '/') c = '_';
  const auto dir = scratchDir("run_" + name + "_" + std::to_string(n++));
  std::string command = "'" + program + "'";
  for (const std::string& a : args) command += " '" + a + "'";
  command += " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir / "out"), slurp(dir / "err")};
}

}  // namespace kestrel::test
