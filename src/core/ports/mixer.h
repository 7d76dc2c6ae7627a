#pragma once
// Port: the mixer of 320 channels. Every operation runs on the thread that owns the drive.
// Operations on a channel without wave data, or outside 0 .. kChannelCount - 1, do nothing.
#include <filesystem>

namespace kestrel {

using WaveId = int;
inline constexpr WaveId kNoWave = -1;

class Mixer {
 public:
  static constexpr int kChannelCount = 320;
  static constexpr int kSilent = -10000;  // volume in hundredths of a decibel

  virtual ~Mixer() = default;

  // Loads a wave file; throws FatalError with the library's message when it cannot be read.
  virtual WaveId loadWave(const std::filesystem::path& path) = 0;
  // Frees every wave and detaches them from their channels.
  virtual void freeAllWaves() = 0;

  virtual void setWave(int channel, WaveId wave) = 0;
  virtual bool hasWave(int channel) const = 0;
  // Rewind to the start and play to the end / repeatedly.
  virtual void playOnce(int channel) = 0;
  virtual void playLooped(int channel) = 0;
  // Stop; the position is kept until the next play rewinds.
  virtual void stop(int channel) = 0;
  virtual bool isPlaying(int channel) const = 0;
  virtual bool isLooping(int channel) const = 0;
  // Sample rate = the wave's own rate x ratio, truncated.
  virtual void setFrequencyRatio(int channel, double ratio) = 0;
  // Hundredths of a decibel, 0 full, -10000 silent; readable back.
  virtual void setVolume(int channel, int volume) = 0;
  virtual int volume(int channel) const = 0;

  // Releases all channels and creates them anew (after a cab window closes). False on failure.
  virtual bool reinitialise() = 0;

  // While the drive is paused nothing plays: the output may stop mixing altogether, so that a
  // paused drive costs no processor time. Channels keep their state; a fresh or reinitialised
  // mixer is not suspended.
  virtual void suspendOutput(bool /*suspended*/) {}
};

}  // namespace kestrel
