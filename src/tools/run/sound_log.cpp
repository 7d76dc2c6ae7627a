#include "tools/run/sound_log.h"

#include "tools/run/trace_writer.h"

namespace kestrel::run {

namespace {

const char* opName(RecordingMixer::Op op) {
  using Op = RecordingMixer::Op;
  switch (op) {
    case Op::LoadWave:
      return "loadWave";
    case Op::FreeAllWaves:
      return "freeAllWaves";
    case Op::SetWave:
      return "setWave";
    case Op::PlayOnce:
      return "playOnce";
    case Op::PlayLooped:
      return "playLooped";
    case Op::Stop:
      return "stop";
    case Op::SetFrequency:
      return "setFrequency";
    case Op::SetVolume:
      return "setVolume";
    case Op::Reinitialise:
      return "reinitialise";
  }
  return "?";
}

}  // namespace

std::string soundLogLine(const RecordingMixer::Operation& op) {
  using Op = RecordingMixer::Op;
  std::string line = formatSeconds(op.timeUs) + " " + opName(op.op) + " " + std::to_string(op.channel);
  switch (op.op) {
    case Op::LoadWave:
      line += " " + std::to_string(static_cast<long long>(op.value)) + " " + op.file;
      return line;
    case Op::SetWave:
    case Op::SetVolume:
      line += " " + std::to_string(static_cast<long long>(op.value));
      break;
    case Op::SetFrequency:
      line += " " + formatDecimal(op.value, 6);
      break;
    default:
      break;
  }
  const bool whole = op.op == Op::FreeAllWaves || op.op == Op::Reinitialise;
  if (!whole && op.op != Op::SetWave && !op.hadWave) line += " nowave";
  return line;
}

void flushSoundLog(RecordingMixer& mixer, std::ostream* out) {
  if (out)
    for (const auto& op : mixer.operations()) *out << soundLogLine(op) << "\n";
  mixer.clearOperations();
}

}  // namespace kestrel::run
