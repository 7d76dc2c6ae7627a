#include "platform/openal/openal_mixer.h"

#include <AL/al.h>

#include <cmath>
#include <type_traits>
#include <utility>

#include "core/util/fatal_error.h"
#include "platform/openal/wave_file.h"

namespace kestrel {

static_assert(std::is_same_v<ALuint, unsigned>);

namespace {

float gainOf(int volume) {
  if (volume >= 0) return 1.0f;
  if (volume <= Mixer::kSilent) return 0.0f;
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

ALint stateOf(ALuint source) {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

std::string channelShortfall(int open) {
  const std::string total = std::to_string(Mixer::kChannelCount);
  return "Only " + std::to_string(open) + " of " + total +
         " sound channels could be opened (OpenAL's \"sources\" setting may limit them); channels " +
         std::to_string(open) + " to " + std::to_string(Mixer::kChannelCount - 1) + " stay silent.";
}

}  // namespace

OpenAlMixer::OpenAlMixer() : OpenAlMixer(Options{}) {}

OpenAlMixer::OpenAlMixer(Options options) : options_(std::move(options)) {
  open();
}

OpenAlMixer::~OpenAlMixer() {
  close();
}

void OpenAlMixer::open() {
  std::string condition;
  if (options_.output == Output::kDevice) output_ = OpenAlOutput::openDevice(kChannelCount);
  if (!output_) {
    output_ = OpenAlOutput::openSilent(kChannelCount, options_.clock);
    if (options_.output == Output::kDevice) {
      condition = output_ ? "No sound device could be opened; the drive runs without sound."
                          : "No sound output could be opened; the drive runs without sound, and sounds end "
                            "as soon as they start.";
    }
  }
  if (output_) {
    createSources();
    if (openChannels() < kChannelCount) {
      if (!condition.empty()) condition += "\n";
      condition += channelShortfall(openChannels());
    }
  }
  if (condition != condition_) {
    pendingWarning_.reset();
    if (!condition.empty()) pendingWarning_ = condition;
  }
  condition_ = condition;
}

void OpenAlMixer::createSources() {
  output_->makeCurrent();
  alGetError();
  for (int i = 0; i < kChannelCount; ++i) {
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) break;
    // Every channel sounds as recorded, wherever the listener is.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    channels_.push_back(Channel{source});
  }
}

void OpenAlMixer::followDevice() const {
  if (output_ && !output_->connected()) const_cast<OpenAlMixer*>(this)->carryOverToSilence();
}

void OpenAlMixer::carryOverToSilence() {
  const std::vector<Channel> before = channels_;
  close();  // the waves' ids and lengths stay; their buffers went with the device
  output_ = OpenAlOutput::openSilent(kChannelCount, options_.clock);
  condition_ = output_ ? "The sound device was lost; the drive goes on without sound."
                       : "The sound device was lost; the drive goes on without sound, and sounds end as soon "
                         "as they start.";
  pendingWarning_ = condition_;
  if (!output_) return;
  createSources();
  for (auto it = waves_.begin(); it != waves_.end();) {
    // Nobody hears the silent device: a wave needs only its length and rate there.
    const std::vector<int16_t> silence(it->second.samples);
    try {
      it->second.buffer = makeBuffer(silence.data(), silence.size(), it->second.sampleRate);
      ++it;
    } catch (const FatalError&) {
      it = waves_.erase(it);  // its channels are left without wave data
    }
  }
  for (size_t i = 0; i < before.size() && i < channels_.size(); ++i) {
    Channel& channel = channels_[i];
    channel.volume = before[i].volume;
    channel.ratio = before[i].ratio;
    const auto wave = waves_.find(before[i].wave);
    if (wave == waves_.end()) continue;
    alSourcei(channel.source, AL_BUFFER, static_cast<ALint>(wave->second.buffer));
    channel.wave = wave->first;
    channel.looped = before[i].looped;
    applyRate(channel);
    applyVolume(channel);
    if (before[i].loopRunning) {
      alSourcei(channel.source, AL_LOOPING, AL_TRUE);
      alSourcePlay(channel.source);
      channel.loopRunning = true;
    }
  }
}

void OpenAlMixer::close() {
  if (output_) {
    output_->makeCurrent();
    for (const Channel& channel : channels_) alDeleteSources(1, &channel.source);
    for (const auto& [id, wave] : waves_) alDeleteBuffers(1, &wave.buffer);
  }
  channels_.clear();
  for (auto& [id, wave] : waves_) wave.buffer = 0;
  output_.reset();
}

bool OpenAlMixer::reinitialise() {
  close();
  waves_.clear();
  open();
  return output_ != nullptr;
}

void OpenAlMixer::suspendOutput(bool suspended) {
  if (output_) output_->suspend(suspended);
}

std::optional<std::string> OpenAlMixer::takeWarning() {
  auto warning = std::move(pendingWarning_);
  pendingWarning_.reset();
  return warning;
}

std::optional<std::chrono::nanoseconds> OpenAlMixer::outputLatency() const {
  if (!output_) return std::nullopt;
  return output_->latency();
}

WaveId OpenAlMixer::loadWave(const std::filesystem::path& path) {
  return loadSamples(readMonoWave(path));
}

WaveId OpenAlMixer::loadSamples(const MonoWave& data) {
  followDevice();
  Wave wave{0, data.sampleRate, data.samples.size()};
  if (output_) {
    output_->advance([this] { return anyPlaying(); });
    wave.buffer = makeBuffer(data.samples.data(), data.samples.size(), data.sampleRate);
  }
  const WaveId id = nextWave_++;
  waves_.emplace(id, wave);
  return id;
}

unsigned OpenAlMixer::makeBuffer(const int16_t* samples, size_t count, int sampleRate) {
  ALuint buffer = 0;
  alGetError();
  alGenBuffers(1, &buffer);
  ALenum error = alGetError();
  if (error == AL_NO_ERROR) {
    // OpenAL copies the samples; the buffer is all the mixer keeps.
    static const int16_t kNothing = 0;
    alBufferData(buffer, AL_FORMAT_MONO16, count == 0 ? &kNothing : samples,
                 static_cast<ALsizei>(count * sizeof(int16_t)), sampleRate);
    error = alGetError();
    if (error != AL_NO_ERROR) alDeleteBuffers(1, &buffer);
  }
  if (error != AL_NO_ERROR) throw FatalError(alGetString(error));
  return buffer;
}

void OpenAlMixer::freeAllWaves() {
  followDevice();
  if (!output_) {
    waves_.clear();
    return;
  }
  output_->advance([this] { return anyPlaying(); });
  for (Channel& channel : channels_) {
    if (channel.wave == kNoWave) continue;
    alSourceRewind(channel.source);
    alSourcei(channel.source, AL_BUFFER, 0);
    channel.wave = kNoWave;
    channel.loopRunning = false;
  }
  for (const auto& [id, wave] : waves_) alDeleteBuffers(1, &wave.buffer);
  waves_.clear();
}

const OpenAlMixer::Channel* OpenAlMixer::withSource(int channel) const {
  followDevice();
  if (channel < 0 || channel >= openChannels()) return nullptr;
  output_->advance([this] { return anyPlaying(); });
  return &channels_[static_cast<size_t>(channel)];
}

const OpenAlMixer::Channel* OpenAlMixer::withWave(int channel) const {
  const Channel* found = withSource(channel);
  return found && found->wave != kNoWave ? found : nullptr;
}

OpenAlMixer::Channel* OpenAlMixer::withSource(int channel) {
  return const_cast<Channel*>(std::as_const(*this).withSource(channel));
}

OpenAlMixer::Channel* OpenAlMixer::withWave(int channel) {
  return const_cast<Channel*>(std::as_const(*this).withWave(channel));
}

bool OpenAlMixer::anyPlaying() const {
  for (const Channel& channel : channels_) {
    if (channel.wave != kNoWave && stateOf(channel.source) == AL_PLAYING) return true;
  }
  return false;
}

void OpenAlMixer::setWave(int channel, WaveId wave) {
  Channel* target = withSource(channel);
  if (!target) return;
  const auto found = waves_.find(wave);
  alSourceRewind(target->source);
  target->looped = false;
  target->loopRunning = false;
  if (found == waves_.end()) {
    alSourcei(target->source, AL_BUFFER, 0);
    target->wave = kNoWave;
    return;
  }
  alSourcei(target->source, AL_BUFFER, static_cast<ALint>(found->second.buffer));
  target->wave = wave;
  applyRate(*target);
  applyVolume(*target);
}

bool OpenAlMixer::hasWave(int channel) const {
  return withWave(channel) != nullptr;
}

void OpenAlMixer::playOnce(int channel) {
  Channel* target = withWave(channel);
  if (!target) return;
  alSourceRewind(target->source);
  alSourcei(target->source, AL_LOOPING, AL_FALSE);
  alSourcePlay(target->source);
  target->looped = false;
  target->loopRunning = false;
}

void OpenAlMixer::playLooped(int channel) {
  Channel* target = withWave(channel);
  if (!target) return;
  alSourceRewind(target->source);
  alSourcei(target->source, AL_LOOPING, AL_TRUE);
  alSourcePlay(target->source);
  target->looped = true;
  target->loopRunning = true;
}

void OpenAlMixer::stop(int channel) {
  Channel* target = withWave(channel);
  if (!target) return;
  target->loopRunning = false;
  if (stateOf(target->source) == AL_PLAYING) alSourcePause(target->source);
}

bool OpenAlMixer::isPlaying(int channel) const {
  const Channel* target = withWave(channel);
  return target && stateOf(target->source) == AL_PLAYING;
}

bool OpenAlMixer::isLooping(int channel) const {
  const Channel* target = withWave(channel);
  return target && target->looped;
}

void OpenAlMixer::setFrequencyRatio(int channel, double ratio) {
  Channel* target = withWave(channel);
  if (!target || std::isnan(ratio)) return;
  target->ratio = ratio;
  applyRate(*target);
}

// Held well inside OpenAL Soft's own limit, a step of 255 samples of the wave per sample mixed.
void OpenAlMixer::applyRate(const Channel& channel) const {
  const double own = waves_.at(channel.wave).sampleRate;
  double rate = std::trunc(own * channel.ratio);
  if (!(rate >= kMinRate)) rate = kMinRate;
  if (rate > kMaxRate) rate = kMaxRate;
  alSourcef(channel.source, AL_PITCH, static_cast<float>(rate / own));
}

void OpenAlMixer::setVolume(int channel, int volume) {
  Channel* target = withWave(channel);
  if (!target) return;
  target->volume = volume;
  applyVolume(*target);
}

void OpenAlMixer::applyVolume(const Channel& channel) const {
  alSourcef(channel.source, AL_GAIN, gainOf(channel.volume));
}

int OpenAlMixer::volume(int channel) const {
  const Channel* target = withWave(channel);
  return target ? target->volume : 0;
}

}  // namespace kestrel
