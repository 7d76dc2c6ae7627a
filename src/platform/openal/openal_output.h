#pragma once
// One OpenAL device with its context, current while the object lives.
//
// Either the sound device the user's configuration names, or, when that cannot be opened, a
// silent one: an OpenAL Soft loopback device that the mixer renders into a discarded buffer as
// time passes on a steady clock. Sources on the silent device take their real time (a sound played
// once stops playing after its duration at its pitch, looping and pausing work as on the sound
// device), so whatever waits for a sound to end still waits as long as it would with a speaker.
#include <AL/alc.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

class OpenAlOutput {
 public:
  // Time on a steady clock; the silent device renders what has passed on it.
  using Clock = std::function<std::chrono::nanoseconds()>;
  static Clock steadyClock();

  static constexpr int kSilentRate = 8000;  // the lowest OpenAL Soft mixes at; nobody listens

  // The sound device, with room for `sources` mono sources; nullptr when it cannot be opened.
  static std::unique_ptr<OpenAlOutput> openDevice(int sources);
  // The silent device; nullptr when not even that can be had.
  static std::unique_ptr<OpenAlOutput> openSilent(int sources, Clock clock);

  ~OpenAlOutput();
  OpenAlOutput(const OpenAlOutput&) = delete;
  OpenAlOutput& operator=(const OpenAlOutput&) = delete;

  bool silent() const { return static_cast<bool>(clock_); }
  // False once the sound device has gone away (unplugged, its server stopped, a write failed):
  // its sources have stopped and it plays nothing more. The silent device is never lost.
  bool connected() const;
  // How far the mix runs ahead of what is heard, as the device reports it.
  std::optional<std::chrono::nanoseconds> latency() const;
  // How many mono sources the context grants (a user's "sources" setting can cap the request).
  int monoSources() const;

  void makeCurrent();
  // Stops the device's mixing while suspended (a sound card's mixer thread runs whether anything
  // plays or not). Does nothing on the silent device, which mixes only when asked, or on a device
  // without the pause extension.
  void suspend(bool suspended);
  // Makes this context current, and on the silent device renders the time that has passed.
  // `anyPlaying` is asked before a long stretch is rendered: when nothing plays it is skipped.
  // Of a stall longer than a minute only the last minute is rendered, as if time had stood still
  // before it.
  void advance(const std::function<bool()>& anyPlaying);

 private:
  OpenAlOutput(ALCdevice* device, ALCcontext* context, Clock clock);

  ALCdevice* device_;
  ALCcontext* context_;
  Clock clock_;
  std::chrono::nanoseconds start_{};
  long long rendered_ = 0;  // frames of the silent device since start_
  std::vector<short> scratch_;
};

}  // namespace kestrel
