#include "platform/openal/openal_output.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>

#include "platform/openal/openal_latency_defaults.h"

namespace kestrel {

namespace {

constexpr int kScratchFrames = 1024;
// A stretch longer than this is a stall or an idle spell; it is skipped when nothing plays.
constexpr long long kLongStretchFrames = OpenAlOutput::kSilentRate / 2;
constexpr long long kMostFramesRendered = OpenAlOutput::kSilentRate * 60LL;

ALCcontext* createContext(ALCdevice* device, const std::vector<ALCint>& attributes) {
  ALCcontext* context = alcCreateContext(device, attributes.data());
  if (!context || !alcMakeContextCurrent(context)) {
    if (context) alcDestroyContext(context);
    return nullptr;
  }
  return context;
}

}  // namespace

OpenAlOutput::Clock OpenAlOutput::steadyClock() {
  return [] { return std::chrono::steady_clock::now().time_since_epoch(); };
}

std::unique_ptr<OpenAlOutput> OpenAlOutput::openDevice(int sources) {
  ALCdevice* device = nullptr;
  {
    OpenAlLatencyDefaults defaults;
    device = alcOpenDevice(nullptr);
  }
  if (!device) return nullptr;
  ALCcontext* context = createContext(device, {ALC_MONO_SOURCES, sources, ALC_STEREO_SOURCES, 0, 0});
  if (!context) {
    alcCloseDevice(device);
    return nullptr;
  }
  return std::unique_ptr<OpenAlOutput>(new OpenAlOutput(device, context, {}));
}

std::unique_ptr<OpenAlOutput> OpenAlOutput::openSilent(int sources, Clock clock) {
  if (!clock) clock = steadyClock();
  auto openLoopback =
      reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  if (!openLoopback || !alcGetProcAddress(nullptr, "alcRenderSamplesSOFT")) return nullptr;
  ALCdevice* device = openLoopback(nullptr);
  if (!device) return nullptr;
  ALCcontext* context = createContext(
      device, {ALC_MONO_SOURCES, sources, ALC_STEREO_SOURCES, 0, ALC_FORMAT_CHANNELS_SOFT, ALC_MONO_SOFT,
               ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT, ALC_FREQUENCY, kSilentRate, 0});
  if (!context) {
    alcCloseDevice(device);
    return nullptr;
  }
  return std::unique_ptr<OpenAlOutput>(new OpenAlOutput(device, context, std::move(clock)));
}

OpenAlOutput::OpenAlOutput(ALCdevice* device, ALCcontext* context, Clock clock)
    : device_(device), context_(context), clock_(std::move(clock)) {
  if (clock_) {
    start_ = clock_();
    scratch_.resize(kScratchFrames);
  }
}

OpenAlOutput::~OpenAlOutput() {
  if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
  alcDestroyContext(context_);
  alcCloseDevice(device_);
}

void OpenAlOutput::suspend(bool suspended) {
  if (silent() || !alcIsExtensionPresent(device_, "ALC_SOFT_pause_device")) return;
  const char* name = suspended ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT";
  if (auto call = reinterpret_cast<void(ALC_APIENTRY*)(ALCdevice*)>(alcGetProcAddress(device_, name)))
    call(device_);
}

std::optional<std::chrono::nanoseconds> OpenAlOutput::latency() const {
  if (silent() || !alcIsExtensionPresent(device_, "ALC_SOFT_device_clock")) return std::nullopt;
  auto get = reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device_, "alcGetInteger64vSOFT"));
  if (!get) return std::nullopt;
  ALCint64SOFT ns = 0;
  get(device_, ALC_DEVICE_LATENCY_SOFT, 1, &ns);
  return std::chrono::nanoseconds(ns);
}

bool OpenAlOutput::connected() const {
  if (silent() || !alcIsExtensionPresent(device_, "ALC_EXT_disconnect")) return true;
  ALCint connected = ALC_TRUE;
  alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
  return connected != ALC_FALSE;
}

int OpenAlOutput::monoSources() const {
  ALCint count = 0;
  alcGetIntegerv(device_, ALC_MONO_SOURCES, 1, &count);
  return count;
}

void OpenAlOutput::makeCurrent() {
  if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
}

void OpenAlOutput::advance(const std::function<bool()>& anyPlaying) {
  makeCurrent();
  if (!silent()) return;
  const auto elapsed = clock_() - start_;
  const long long due = elapsed.count() / (1'000'000'000LL / kSilentRate);
  long long todo = due - rendered_;
  if (todo <= 0) return;
  if (todo > kLongStretchFrames && !anyPlaying()) {
    rendered_ = due;
    return;
  }
  if (todo > kMostFramesRendered) {
    rendered_ = due - kMostFramesRendered;
    todo = kMostFramesRendered;
  }
  static const auto render =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  while (todo > 0) {
    const auto frames = static_cast<ALCsizei>(std::min<long long>(todo, kScratchFrames));
    render(device_, scratch_.data(), frames);
    rendered_ += frames;
    todo -= frames;
  }
}

}  // namespace kestrel
