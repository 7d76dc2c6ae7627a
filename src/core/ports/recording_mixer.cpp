#include "core/ports/recording_mixer.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "core/util/fatal_error.h"

namespace kestrel {

namespace {

uint32_t le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

std::optional<int64_t> waveDurationUs(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return waveDurationUs(in);
}

std::optional<int64_t> waveDurationUs(std::istream& in) {
  unsigned char riff[12];
  if (!in.read(reinterpret_cast<char*>(riff), 12) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
    return std::nullopt;
  uint32_t byteRate = 0;
  std::optional<uint32_t> dataSize;
  unsigned char header[8];
  while (!dataSize && in.read(reinterpret_cast<char*>(header), 8)) {
    const uint32_t size = le32(header + 4);
    if (std::memcmp(header, "fmt ", 4) == 0) {
      unsigned char fmt[16];
      if (size < 16 || !in.read(reinterpret_cast<char*>(fmt), 16)) return std::nullopt;
      byteRate = le32(fmt + 8);
      in.seekg(static_cast<std::streamoff>(size - 16 + (size & 1)), std::ios::cur);
    } else if (std::memcmp(header, "data", 4) == 0) {
      // A file cut short plays what it holds, whatever its header says (as the sound device does).
      const std::streamoff at = in.tellg();
      in.seekg(0, std::ios::end);
      const std::streamoff end = in.tellg();
      dataSize = static_cast<uint32_t>(std::clamp<std::streamoff>(end - at, 0, size));
    } else {
      in.seekg(static_cast<std::streamoff>(size + (size & 1)), std::ios::cur);
    }
  }
  if (!dataSize || byteRate == 0) return std::nullopt;
  return static_cast<int64_t>(*dataSize) * 1000000 / byteRate;
}

RecordingMixer::RecordingMixer(std::function<int64_t()> clock) : clock_(std::move(clock)) {}

void RecordingMixer::record(Op op, int channel, double value, std::string file) {
  if (!recording_) return;
  const bool had = valid(channel) && channels_[static_cast<size_t>(channel)].wave != kNoWave;
  ops_.push_back({now(), op, channel, value, std::move(file), had});
}

WaveId RecordingMixer::registerWave(std::string name, int64_t durationUs) {
  waves_.push_back({std::move(name), durationUs});
  return static_cast<WaveId>(waves_.size() - 1);
}

WaveId RecordingMixer::loadWave(const std::filesystem::path& path) {
  const auto duration = waveDurationUs(path);
  if (!duration) throw FatalError(path.string() + ": not a readable wave file");
  const WaveId wave = registerWave(path.string(), *duration);
  record(Op::LoadWave, -1, wave, path.string());
  return wave;
}

void RecordingMixer::freeAllWaves() {
  record(Op::FreeAllWaves, -1);
  waves_.clear();
  for (Channel& c : channels_) c = Channel{};
}

void RecordingMixer::setWave(int channel, WaveId wave) {
  record(Op::SetWave, channel, wave);
  if (!valid(channel)) return;
  Channel& c = channels_[static_cast<size_t>(channel)];
  c = Channel{};
  if (wave >= 0 && wave < static_cast<WaveId>(waves_.size())) c.wave = wave;
}

bool RecordingMixer::hasWave(int channel) const {
  return valid(channel) && channels_[static_cast<size_t>(channel)].wave != kNoWave;
}

void RecordingMixer::playOnce(int channel) {
  record(Op::PlayOnce, channel);
  if (!hasWave(channel)) return;
  Channel& c = channels_[static_cast<size_t>(channel)];
  const int64_t duration = waves_[static_cast<size_t>(c.wave)].durationUs;
  c.looping = false;
  c.started = true;
  c.endUs = now() + (c.ratio > 0 ? static_cast<int64_t>(static_cast<double>(duration) / c.ratio) : duration);
}

void RecordingMixer::playLooped(int channel) {
  record(Op::PlayLooped, channel);
  if (!hasWave(channel)) return;
  Channel& c = channels_[static_cast<size_t>(channel)];
  c.looping = true;
  c.started = true;
}

void RecordingMixer::stop(int channel) {
  record(Op::Stop, channel);
  if (!hasWave(channel)) return;
  Channel& c = channels_[static_cast<size_t>(channel)];
  c.looping = false;
  c.started = false;
}

bool RecordingMixer::isPlaying(int channel) const {
  if (!hasWave(channel)) return false;
  const Channel& c = channels_[static_cast<size_t>(channel)];
  return c.started && (c.looping || now() < c.endUs);
}

bool RecordingMixer::isLooping(int channel) const {
  return hasWave(channel) && channels_[static_cast<size_t>(channel)].started &&
         channels_[static_cast<size_t>(channel)].looping;
}

void RecordingMixer::setFrequencyRatio(int channel, double ratio) {
  record(Op::SetFrequency, channel, ratio);
  if (hasWave(channel)) channels_[static_cast<size_t>(channel)].ratio = ratio;
}

void RecordingMixer::setVolume(int channel, int volume) {
  record(Op::SetVolume, channel, volume);
  if (hasWave(channel)) channels_[static_cast<size_t>(channel)].volume = volume;
}

int RecordingMixer::volume(int channel) const {
  return hasWave(channel) ? channels_[static_cast<size_t>(channel)].volume : 0;
}

bool RecordingMixer::reinitialise() {
  record(Op::Reinitialise, -1);
  for (Channel& c : channels_) c = Channel{};
  suspended_ = false;
  return true;
}

std::vector<RecordingMixer::Operation> RecordingMixer::operationsOn(int channel, Op op) const {
  std::vector<Operation> out;
  for (const Operation& o : ops_)
    if (o.channel == channel && o.op == op) out.push_back(o);
  return out;
}

}  // namespace kestrel
