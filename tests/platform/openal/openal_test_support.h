#pragma once
// Helpers of the OpenAL mixer tests: test waves, the mixer script run in a process of its own,
// and sox's measurements of what the wave writer recorded.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::test {

// A fresh scratch folder for the running test alone (ctest runs tests side by side).
std::filesystem::path testScratchDir(const std::string& prefix);

// Writes `interleaved` samples (full scale 1.0) to a file; `format` is a libsndfile format.
void writeWave(const std::filesystem::path& path, int rate, int channels, int format,
               const std::vector<float>& interleaved);
// 16-bit PCM exactly as given.
void writeWave16(const std::filesystem::path& path, int rate, int channels, const std::vector<int16_t>& interleaved);
std::vector<float> sine(double hz, int rate, double seconds, double amplitude);
// A mono 16-bit wave of `seconds` of a quiet tone.
std::filesystem::path toneFile(const std::filesystem::path& dir, const std::string& name, double seconds,
                               int rate = 44100, double hz = 1000.0, double amplitude = 0.5);

// An OpenAL configuration in `dir` that records the mix, mono 16-bit, to `dir`/out.wav.
std::filesystem::path waveWriterConfig(const std::filesystem::path& dir);

struct ScriptRun {
  int status = -1;
  std::vector<std::string> lines;  // stdout
  std::string errors;              // stderr
  // The rest of the first line that starts with `key` and a blank.
  std::optional<std::string> value(const std::string& key) const;
  std::vector<std::string> values(const std::string& key) const;
};
// Runs the mixer script with `env` ("NAME=value") on top of this environment without any OpenAL
// variables of its own.
ScriptRun runScript(const std::vector<std::string>& env, const std::vector<std::string>& ops);

struct SoxStat {
  double maximumAmplitude = 0;
  double roughFrequency = 0;
  double seconds = 0;
};
// sox's "stat" of `length` seconds from `start` of a wave file.
SoxStat soxStat(const std::filesystem::path& wave, double start, double length);

}  // namespace kestrel::test
