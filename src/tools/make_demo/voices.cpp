#include "tools/make_demo/voices.h"

#include <sndfile.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "tools/make_demo/synth.h"

extern char** environ;

namespace kestrel::demo {

namespace {

// Runs a program without a shell (the texts are passed as they are); true on exit status 0.
bool run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Wave readWave(const std::filesystem::path& path) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.string().c_str(), SFM_READ, &info);
  if (!f) throw std::runtime_error("espeak-ng wrote no readable wave: " + path.string());
  std::vector<int16_t> all(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
  sf_readf_short(f, all.data(), info.frames);
  sf_close(f);
  Wave w;
  w.rate = info.samplerate;
  for (size_t i = 0; i < all.size(); i += static_cast<size_t>(info.channels)) w.samples.push_back(all[i]);
  return w;
}

}  // namespace

Voices::Voices(std::filesystem::path scratch) : scratch_(std::move(scratch)) {
  std::filesystem::create_directories(scratch_);
  espeak_ = run({"espeak-ng", "--version"});
}

std::string Voices::note() const {
  return espeak_ ? "voices: espeak-ng (Japanese)"
                 : "voices: espeak-ng not found; announcements and call-outs are plain tones";
}

Wave Voices::say(const std::string& kana, int speed) const {
  if (!espeak_) {
    // About 0.12 s per kana character (three UTF-8 bytes each).
    return synth::tone(660.0, std::max(0.5, static_cast<double>(kana.size()) / 3.0 * 0.12), 0.2);
  }
  const auto path = scratch_ / ("voice" + std::to_string(counter_++) + ".wav");
  if (!run({"espeak-ng", "-v", "ja", "-s", std::to_string(speed), "-w", path.string(), kana}))
    throw std::runtime_error("espeak-ng failed on: " + kana);
  Wave w = readWave(path);
  std::filesystem::remove(path);
  return w;
}

}  // namespace kestrel::demo
