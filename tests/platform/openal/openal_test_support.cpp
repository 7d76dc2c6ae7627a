#include "openal_test_support.h"

#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "support/test_paths.h"

namespace kestrel::test {

namespace {

// In-process devices of these tests are the null backend, never a speaker, unless whoever runs
// the tests chose an OpenAL configuration. Set before main, so before the library's first use.
[[maybe_unused]] const bool kNullBackend = [] {
  if (!std::getenv("ALSOFT_CONF") && !std::getenv("ALSOFT_DRIVERS")) setenv("ALSOFT_DRIVERS", "null", 1);
  return true;
}();

std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::vector<std::string> readLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string capture(const std::string& command, int* status) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int raw = pclose(pipe);
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

}  // namespace

std::filesystem::path testScratchDir(const std::string& prefix) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return scratchDir(prefix + "_" + (test ? test->name() : "none"));
}

void writeWave(const std::filesystem::path& path, int rate, int channels, int format,
               const std::vector<float>& interleaved) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) throw std::runtime_error(sf_strerror(nullptr));
  sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size()) / channels);
  sf_close(file);
}

void writeWave16(const std::filesystem::path& path, int rate, int channels, const std::vector<int16_t>& interleaved) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) throw std::runtime_error(sf_strerror(nullptr));
  sf_writef_short(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size()) / channels);
  sf_close(file);
}

std::vector<float> sine(double hz, int rate, double seconds, double amplitude) {
  std::vector<float> samples(static_cast<size_t>(std::lround(rate * seconds)));
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
  }
  return samples;
}

std::filesystem::path toneFile(const std::filesystem::path& dir, const std::string& name, double seconds,
                               int rate, double hz, double amplitude) {
  const auto path = dir / name;
  writeWave(path, rate, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, sine(hz, rate, seconds, amplitude));
  return path;
}

std::filesystem::path waveWriterConfig(const std::filesystem::path& dir) {
  const auto path = dir / "alsoft.conf";
  std::ofstream(path) << "[general]\ndrivers = wave\nchannels = mono\nsample-type = int16\n"
                      << "[wave]\nfile = " << (dir / "out.wav").string() << "\n";
  return path;
}

std::optional<std::string> ScriptRun::value(const std::string& key) const {
  const auto all = values(key);
  if (all.empty()) return std::nullopt;
  return all.front();
}

std::vector<std::string> ScriptRun::values(const std::string& key) const {
  std::vector<std::string> found;
  for (const auto& line : lines) {
    if (line.rfind(key + " ", 0) == 0) found.push_back(line.substr(key.size() + 1));
  }
  return found;
}

ScriptRun runScript(const std::vector<std::string>& env, const std::vector<std::string>& ops) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto errors = binaryDir() / "test-scratch" /
                      ("openal-script-" + std::string(test ? test->name() : "run") + ".stderr");
  std::string command = "env -u ALSOFT_CONF -u ALSOFT_DRIVERS";
  for (const auto& e : env) command += " " + quoted(e);
  command += " " + quoted(KESTREL_OPENAL_SCRIPT);
  for (const auto& op : ops) command += " " + quoted(op);
  command += " 2>" + quoted(errors.string());
  ScriptRun run;
  run.lines = readLines(capture(command, &run.status));
  std::ifstream in(errors);
  std::stringstream text;
  text << in.rdbuf();
  run.errors = text.str();
  return run;
}

SoxStat soxStat(const std::filesystem::path& wave, double start, double length) {
  int status = 0;
  const std::string out = capture("sox " + quoted(wave.string()) + " -n trim " + std::to_string(start) + " " +
                                      std::to_string(length) + " stat 2>&1",
                                  &status);
  if (status != 0) throw std::runtime_error("sox failed: " + out);
  SoxStat stat;
  for (const auto& line : readLines(out)) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, colon);
    const double number = std::atof(line.c_str() + colon + 1);
    if (key == "Maximum amplitude") stat.maximumAmplitude = number;
    if (key == "Rough   frequency") stat.roughFrequency = number;
    if (key == "Length (seconds)") stat.seconds = number;
  }
  return stat;
}

}  // namespace kestrel::test
