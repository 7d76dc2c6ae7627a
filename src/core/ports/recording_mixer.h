#pragma once
// A Mixer that plays nothing: it records every operation with the virtual time it was asked at,
// and emulates the play state in virtual time, so that headless drives which wait for a sound to
// end are deterministic. A one-shot sound "plays" for its wave's duration (read from the WAV
// header, or registered by a test), divided by the channel's frequency ratio; a looped sound plays
// until stopped. Serves the tests and the headless runner.
//
// Thread contract: like every Mixer, used only on the thread that owns the drive.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/mixer.h"

namespace kestrel {

// The duration of a canonical RIFF/WAVE file in microseconds, from its "fmt " byte rate and its
// "data" chunk size, or the data the file holds when it is cut short; nullopt when the file cannot
// be read or is not such a file.
std::optional<int64_t> waveDurationUs(const std::filesystem::path& path);
std::optional<int64_t> waveDurationUs(std::istream& in);

class RecordingMixer final : public Mixer {
 public:
  enum class Op {
    LoadWave,
    FreeAllWaves,
    SetWave,
    PlayOnce,
    PlayLooped,
    Stop,
    SetFrequency,
    SetVolume,
    Reinitialise
  };

  struct Operation {
    int64_t timeUs = 0;
    Op op = Op::Stop;
    int channel = -1;      // -1 for the whole mixer
    double value = 0;      // wave id (LoadWave: the new one), ratio or volume
    std::string file;      // LoadWave
    bool hadWave = false;  // the channel held wave data (operations without it do nothing)
  };

  // `clock` gives the virtual time in microseconds (the drive's scheduler); without one the time
  // is 0 until setClock.
  explicit RecordingMixer(std::function<int64_t()> clock = {});
  void setClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }

  // A wave that exists only in memory, for tests.
  WaveId registerWave(std::string name, int64_t durationUs);

  WaveId loadWave(const std::filesystem::path& path) override;
  void freeAllWaves() override;
  void setWave(int channel, WaveId wave) override;
  bool hasWave(int channel) const override;
  void playOnce(int channel) override;
  void playLooped(int channel) override;
  void stop(int channel) override;
  bool isPlaying(int channel) const override;
  bool isLooping(int channel) const override;
  void setFrequencyRatio(int channel, double ratio) override;
  void setVolume(int channel, int volume) override;
  int volume(int channel) const override;
  bool reinitialise() override;
  // Kept as a state, not recorded: a paused drive's clock stands still anyway.
  void suspendOutput(bool suspended) override { suspended_ = suspended; }
  bool outputSuspended() const { return suspended_; }

  const std::vector<Operation>& operations() const { return ops_; }
  void clearOperations() { ops_.clear(); }
  // Off: nothing is recorded (the play state alone is kept, for a drive that is heard elsewhere).
  void setRecording(bool on) { recording_ = on; }
  // Operations of one kind on one channel, in order.
  std::vector<Operation> operationsOn(int channel, Op op) const;

 private:
  struct Wave {
    std::string name;
    int64_t durationUs = 0;
  };
  struct Channel {
    WaveId wave = kNoWave;
    bool looping = false;
    bool started = false;
    int64_t endUs = 0;  // one-shot: playing while now < endUs
    double ratio = 1;
    int volume = 0;
  };

  int64_t now() const { return clock_ ? clock_() : 0; }
  bool valid(int channel) const { return channel >= 0 && channel < kChannelCount; }
  void record(Op op, int channel, double value = 0, std::string file = {});

  std::function<int64_t()> clock_;
  std::vector<Wave> waves_;
  std::array<Channel, kChannelCount> channels_{};
  std::vector<Operation> ops_;
  bool recording_ = true;
  bool suspended_ = false;
};

}  // namespace kestrel
