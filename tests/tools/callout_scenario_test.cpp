// The call-outs of a whole run: the quick demo's rapid line driven from its first station to the
// terminal (the stations' scenario script), read back from the sound log. The station rules fire
// the call-out points, the queue plays one clip at a time on the call-out channel.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <map>
#include <sstream>

#include "support/test_paths.h"
#include "tools/demo_files.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct Logged {
  std::vector<std::string> clips;  // file names set on the call-out channel, in order
  size_t plays = 0;                // playOnce on it
};

// The call-out channel is the one the kanko clips are set on: the channel of the first setWave
// after the load (every channel of the fixed sets gets its wave at time 0).
Logged calloutChannel(const fs::path& log) {
  std::ifstream in(log);
  std::map<std::string, std::string> files;  // wave id -> file name
  std::string channel;
  Logged out;
  for (std::string line; std::getline(in, line);) {
    std::istringstream f(line);
    std::string time, op, ch, value, file;
    f >> time >> op >> ch >> value >> file;
    if (op == "loadWave") files[value] = fs::path(file).filename().string();
    if (op == "setWave" && time != "0.000000") {
      if (channel.empty()) channel = ch;
      if (ch == channel) out.clips.push_back(files[value]);
    }
    if (op == "playOnce" && ch == channel) ++out.plays;
  }
  return out;
}

Logged driveRapidRun(const fs::path& dir) {
  const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + test::quickDemo().string() +
                              "' --line line_rapid.dat --train train_313-1000_8cars.dat --script '" +
                              (test::sourceDir() / "tests/tools/scenarios/rapid_run.txt").string() +
                              "' --sound-log '" + (dir / "sound.log").string() + "' >'" +
                              (dir / "out").string() + "' 2>&1";
  const int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
  return calloutChannel(dir / "sound.log");
}

TEST(CalloutScenario, TheStationMomentsCallOutInTheirOrder) {
  const fs::path dir = test::scratchDir("callout_scenario_run");
  const Logged run = driveRapidRun(dir);
  // 鷹見: on time as the departure sound starts, doors closed. 緑町: the stop position at the
  // stand, on time, doors closed, then the first notch.
  EXPECT_EQ(run.clips,
            (std::vector<std::string>{"k17.wav", "k19.wav", "stoppos.wav", "k17.wav", "k19.wav", "k20.wav"}));
  EXPECT_EQ(run.plays, run.clips.size());
}

}  // namespace
}  // namespace kestrel
