#pragma once
// The mixer of a drive that is heard: every operation goes to the output (the sound device) and
// to a model that keeps each channel's play state in drive time, as the headless runner's mixer
// does; what the drive asks back (whether a channel plays or loops, its volume, whether it holds a
// wave) the model answers. So the drive never depends on when the device finished a sound — which
// follows the wall clock, a stall, or no device at all — and its recording replays headless, bit
// for bit. A one-shot sound ends after its wave's duration over the channel's frequency ratio.
//
// Thread contract: like every Mixer, used only on the thread that owns the drive.
#include <filesystem>
#include <functional>
#include <optional>
#include <unordered_map>

#include "core/ports/mixer.h"
#include "core/ports/recording_mixer.h"

namespace kestrel {

class DriveTimeMixer final : public Mixer {
 public:
  // The duration of a wave that the output reads and the model's RIFF header reader does not (a
  // drive with such a wave cannot be replayed headless, where it is refused); nullopt: 0.
  using FallbackDuration = std::function<std::optional<int64_t>(const std::filesystem::path&)>;

  explicit DriveTimeMixer(Mixer& output, FallbackDuration fallback = {});

  // The drive time in microseconds (the drive's scheduler).
  void setClock(std::function<int64_t()> clock) { model_.setClock(std::move(clock)); }
  // Muted, the output plays nothing (a replay's jump runs silently); unmuted again, the sounds that
  // loop in the model loop on the output too, and the one-shots that had not ended are let go.
  void setMuted(bool muted);
  bool muted() const { return muted_; }

  WaveId loadWave(const std::filesystem::path& path) override;
  void freeAllWaves() override;
  void setWave(int channel, WaveId wave) override;
  bool hasWave(int channel) const override { return model_.hasWave(channel); }
  void playOnce(int channel) override;
  void playLooped(int channel) override;
  void stop(int channel) override;
  bool isPlaying(int channel) const override { return model_.isPlaying(channel); }
  bool isLooping(int channel) const override { return model_.isLooping(channel); }
  void setFrequencyRatio(int channel, double ratio) override;
  void setVolume(int channel, int volume) override;
  int volume(int channel) const override { return model_.volume(channel); }
  bool reinitialise() override;
  void suspendOutput(bool suspended) override;

 private:
  WaveId outputWave(WaveId wave) const;

  Mixer& output_;
  FallbackDuration fallback_;
  RecordingMixer model_;
  std::unordered_map<WaveId, WaveId> outputWaves_;  // the model's id -> the output's
  bool muted_ = false;
};

}  // namespace kestrel
