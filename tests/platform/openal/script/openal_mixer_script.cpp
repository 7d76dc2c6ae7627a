// Runs the OpenAL mixer through a list of operations in a process of its own. OpenAL Soft reads
// its configuration once per process and the wave writer finishes its file when the device
// closes, so a test that needs a configuration or the written sound runs one of these.
//
//   openal_mixer_script [--silent] OP...
//     load PATH          prints "wave ID"
//     set CH WAVE | once CH | loop CH | stop CH | ratio CH R | volume CH V | free | reinit
//     sleep MS
//     wait-end CH MS     waits at most MS for CH to stop playing; prints "ended CH MS" or "playing CH"
//     playing CH         prints "playing CH 0|1"
//     volume-of CH       prints "volume CH V"
//     channels | silent | latency | warning   print "channels N", "silent 0|1", "latency NS|none",
//                                             and "warning LINE" per line or "warning none"
//
// Exit status 0, 2 with "fatal MESSAGE" on stderr when the mixer throws, 64 on a bad operation.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/util/fatal_error.h"
#include "platform/openal/openal_mixer.h"

namespace {

using kestrel::OpenAlMixer;
using Clock = std::chrono::steady_clock;

int run(OpenAlMixer& mixer, const std::vector<std::string>& ops) {
  size_t i = 0;
  auto next = [&]() -> const std::string& {
    if (i >= ops.size()) throw std::invalid_argument("missing operand");
    return ops[i++];
  };
  auto nextInt = [&] { return std::stoi(next()); };
  while (i < ops.size()) {
    const std::string op = next();
    if (op == "load") {
      std::cout << "wave " << mixer.loadWave(next()) << "\n";
    } else if (op == "set") {
      const int ch = nextInt();
      mixer.setWave(ch, nextInt());
    } else if (op == "once") {
      mixer.playOnce(nextInt());
    } else if (op == "loop") {
      mixer.playLooped(nextInt());
    } else if (op == "stop") {
      mixer.stop(nextInt());
    } else if (op == "ratio") {
      const int ch = nextInt();
      mixer.setFrequencyRatio(ch, std::stod(next()));
    } else if (op == "volume") {
      const int ch = nextInt();
      mixer.setVolume(ch, nextInt());
    } else if (op == "free") {
      mixer.freeAllWaves();
    } else if (op == "reinit") {
      std::cout << "reinit " << mixer.reinitialise() << "\n";
    } else if (op == "sleep") {
      std::this_thread::sleep_for(std::chrono::milliseconds(nextInt()));
    } else if (op == "wait-end") {
      const int ch = nextInt();
      const auto limit = std::chrono::milliseconds(nextInt());
      const auto start = Clock::now();
      while (mixer.isPlaying(ch) && Clock::now() - start < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
      if (mixer.isPlaying(ch)) {
        std::cout << "playing " << ch << "\n";
      } else {
        std::cout << "ended " << ch << " " << took.count() << "\n";
      }
    } else if (op == "playing") {
      const int ch = nextInt();
      std::cout << "playing " << ch << " " << mixer.isPlaying(ch) << "\n";
    } else if (op == "volume-of") {
      const int ch = nextInt();
      std::cout << "volume " << ch << " " << mixer.volume(ch) << "\n";
    } else if (op == "channels") {
      std::cout << "channels " << mixer.openChannels() << "\n";
    } else if (op == "silent") {
      std::cout << "silent " << mixer.silent() << "\n";
    } else if (op == "latency") {
      const auto latency = mixer.outputLatency();
      std::cout << "latency " << (latency ? std::to_string(latency->count()) : "none") << "\n";
    } else if (op == "warning") {
      const auto warning = mixer.takeWarning();
      if (!warning) std::cout << "warning none\n";
      std::istringstream lines(warning.value_or(""));
      for (std::string line; std::getline(lines, line);) std::cout << "warning " << line << "\n";
    } else {
      throw std::invalid_argument("unknown operation " + op);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> ops(argv + 1, argv + argc);
  OpenAlMixer::Options options;
  if (!ops.empty() && ops.front() == "--silent") {
    options.output = OpenAlMixer::Output::kSilent;
    ops.erase(ops.begin());
  }
  try {
    OpenAlMixer mixer(options);
    return run(mixer, ops);
  } catch (const kestrel::FatalError& e) {
    std::cerr << "fatal " << e.message() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "usage: " << e.what() << "\n";
    return 64;
  }
}
