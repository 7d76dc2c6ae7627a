#include "core/ports/drive_time_mixer.h"

#include "core/util/fatal_error.h"

namespace kestrel {

DriveTimeMixer::DriveTimeMixer(Mixer& output, FallbackDuration fallback)
    : output_(output), fallback_(std::move(fallback)) {
  model_.setRecording(false);
}

WaveId DriveTimeMixer::loadWave(const std::filesystem::path& path) {
  const WaveId out = output_.loadWave(path);  // a file the device cannot read stops the drive here
  WaveId id = kNoWave;
  try {
    id = model_.loadWave(path);
  } catch (const FatalError&) {
    id = model_.registerWave(path.string(), fallback_ ? fallback_(path).value_or(0) : 0);
  }
  outputWaves_[id] = out;
  return id;
}

WaveId DriveTimeMixer::outputWave(WaveId wave) const {
  const auto it = outputWaves_.find(wave);
  return it == outputWaves_.end() ? kNoWave : it->second;
}

void DriveTimeMixer::freeAllWaves() {
  model_.freeAllWaves();
  output_.freeAllWaves();
  outputWaves_.clear();
}

void DriveTimeMixer::setWave(int channel, WaveId wave) {
  model_.setWave(channel, wave);
  output_.setWave(channel, outputWave(wave));
}

void DriveTimeMixer::playOnce(int channel) {
  model_.playOnce(channel);
  if (!muted_) output_.playOnce(channel);
}

void DriveTimeMixer::playLooped(int channel) {
  model_.playLooped(channel);
  if (!muted_) output_.playLooped(channel);
}

void DriveTimeMixer::stop(int channel) {
  model_.stop(channel);
  output_.stop(channel);
}

void DriveTimeMixer::setFrequencyRatio(int channel, double ratio) {
  model_.setFrequencyRatio(channel, ratio);
  output_.setFrequencyRatio(channel, ratio);
}

void DriveTimeMixer::setVolume(int channel, int volume) {
  model_.setVolume(channel, volume);
  output_.setVolume(channel, volume);
}

bool DriveTimeMixer::reinitialise() {
  model_.reinitialise();
  outputWaves_.clear();
  return output_.reinitialise();
}

void DriveTimeMixer::suspendOutput(bool suspended) {
  model_.suspendOutput(suspended);
  output_.suspendOutput(suspended);
}

void DriveTimeMixer::setMuted(bool muted) {
  if (muted == muted_) return;
  muted_ = muted;
  for (int ch = 0; ch < kChannelCount; ++ch) {
    if (!model_.hasWave(ch)) continue;
    if (muted)
      output_.stop(ch);
    else if (model_.isPlaying(ch) && model_.isLooping(ch))
      output_.playLooped(ch);
  }
}

}  // namespace kestrel
