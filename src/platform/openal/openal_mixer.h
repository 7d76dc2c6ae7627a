#pragma once
// The Mixer port on OpenAL Soft: one device, one context, 320 mono sources, one per channel.
//
// Thread contract: every operation, construction and destruction included, runs on the thread
// that owns the drive. Construct the first mixer of the process before other threads read the
// environment (see OpenAlLatencyDefaults). One mixer at a time: each makes its context current.
//
// Without a sound device the mixer runs silently on OpenAL Soft's loopback device, with sounds
// that still take their real time (see OpenAlOutput), and says so once through takeWarning().
// A device lost while in use is noticed by the next operation: the mixer goes on the same way on
// the silent device, every wave (as silence of its length), channel setting and looping sound
// carried over, and says so once; a sound played once that the loss cut short has ended.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/ports/mixer.h"
#include "platform/openal/openal_output.h"
#include "platform/openal/wave_file.h"

namespace kestrel {

class OpenAlMixer final : public Mixer {
 public:
  enum class Output {
    kDevice,  // the sound device, or the silent one when it cannot be opened
    kSilent,  // the silent one
  };
  struct Options {
    Output output = Output::kDevice;
    OpenAlOutput::Clock clock;  // for the silent device; the steady clock when empty
  };

  // The sample rate a channel plays at is held within what DirectSound accepted.
  static constexpr int kMinRate = 100;
  static constexpr int kMaxRate = 200000;

  OpenAlMixer();
  explicit OpenAlMixer(Options options);
  ~OpenAlMixer() override;
  OpenAlMixer(const OpenAlMixer&) = delete;
  OpenAlMixer& operator=(const OpenAlMixer&) = delete;

  WaveId loadWave(const std::filesystem::path& path) override;
  // Wave data decoded elsewhere (a movie's soundtrack), held and played as a loaded file is.
  WaveId loadSamples(const MonoWave& data);
  void freeAllWaves() override;

  void setWave(int channel, WaveId wave) override;
  bool hasWave(int channel) const override;
  void playOnce(int channel) override;
  void playLooped(int channel) override;
  // Pauses: the next play rewinds.
  void stop(int channel) override;
  bool isPlaying(int channel) const override;
  // Whether the channel's last play was playLooped (read it together with isPlaying).
  bool isLooping(int channel) const override;
  // Rate = trunc(wave rate x ratio), held within kMinRate .. kMaxRate; a NaN ratio is ignored.
  // The ratio stays with the channel and applies to the next wave set on it.
  void setFrequencyRatio(int channel, double ratio) override;
  // 0 and above full, -10000 and below silent, 10^(v / 2000) between; volume() gives back the
  // value set, also one above 0. The volume stays with the channel like the ratio.
  void setVolume(int channel, int volume) override;
  // 0 for a channel without wave data.
  int volume(int channel) const override;

  // Closes the device and opens it again, with every wave freed and every channel fresh.
  bool reinitialise() override;
  void suspendOutput(bool suspended) override;

  // A message for the user about the sound output, once per new condition (no device, fewer
  // channels than asked for); nullopt when there is nothing new to say.
  std::optional<std::string> takeWarning();
  // Channels that have a source: kChannelCount unless the configuration capped the sources.
  int openChannels() const { return static_cast<int>(channels_.size()); }
  bool silent() const {
    followDevice();
    return !output_ || output_->silent();
  }
  // The device's own figure; nullopt on the silent device.
  std::optional<std::chrono::nanoseconds> outputLatency() const;

 private:
  struct Wave {
    unsigned buffer = 0;
    int sampleRate = 0;
    size_t samples = 0;
  };
  struct Channel {
    unsigned source = 0;
    WaveId wave = kNoWave;
    int volume = 0;
    double ratio = 1.0;
    bool looped = false;
    bool loopRunning = false;  // played looped and not stopped since: carried over a lost device
  };

  void open();
  void close();
  void createSources();
  // A buffer on the current output; throws FatalError with OpenAL's message.
  unsigned makeBuffer(const int16_t* samples, size_t count, int sampleRate);
  // Moves to the silent device when the sound device has been lost (see the class comment).
  void followDevice() const;
  void carryOverToSilence();
  // The channel when it exists and holds a wave; brings the silent device up to date first.
  const Channel* withWave(int channel) const;
  Channel* withWave(int channel);
  // The channel when it exists (it has a source).
  const Channel* withSource(int channel) const;
  Channel* withSource(int channel);
  void applyRate(const Channel& channel) const;
  void applyVolume(const Channel& channel) const;
  bool anyPlaying() const;

  Options options_;
  std::unique_ptr<OpenAlOutput> output_;
  std::vector<Channel> channels_;
  std::unordered_map<WaveId, Wave> waves_;
  WaveId nextWave_ = 0;
  std::string condition_;  // what the last opening had to say, empty when all was well
  std::optional<std::string> pendingWarning_;
};

}  // namespace kestrel
