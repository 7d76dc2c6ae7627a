#pragma once
// OpenAL Soft mixes 1024 x 3 frames ahead by default, about 47 ms from a key to its sound. The
// period can only be set in its configuration files (the ALC_REFRESH attribute is ignored), so the
// mixer offers a shorter one as an extra configuration file, read once when the library is first
// used. A user's own choice wins: nothing is offered when ALSOFT_CONF is set or when any of the
// files the library reads already sets period_size or periods.
#include <string>

namespace kestrel {

class OpenAlLatencyDefaults {
 public:
  static constexpr int kPeriodFrames = 256;
  static constexpr int kPeriods = 3;

  // Offers the defaults for as long as the object lives; create it around the first call into
  // the library. Sets ALSOFT_CONF in the process environment meanwhile, so construct it before
  // other threads read the environment. Does nothing after the first time in the process.
  OpenAlLatencyDefaults();
  ~OpenAlLatencyDefaults();
  OpenAlLatencyDefaults(const OpenAlLatencyDefaults&) = delete;
  OpenAlLatencyDefaults& operator=(const OpenAlLatencyDefaults&) = delete;

  bool offered() const { return fd_ >= 0; }

  // Whether a configuration text sets period_size or periods in any section.
  static bool setsPeriod(const std::string& text);

 private:
  int fd_ = -1;
};

}  // namespace kestrel
