#pragma once
// A movie reader and a multimedia timer that write what they are asked into one log, so that
// tests see the order of a movie switch: the timer stopped, the movie closed and opened, the
// timer started.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/ports/movie_reader.h"
#include "core/present/movie_playback.h"

namespace kestrel::test {

struct MovieLog {
  std::vector<std::string> entries;
};

class FakeMovieReader final : public MovieReader {
 public:
  explicit FakeMovieReader(MovieLog& log) : log_(log) {}
  // Files that open, by file name ("kestrel_line.avi"), with their frame counts.
  std::map<std::string, int> files;

  bool open(const std::filesystem::path& path) override {
    const std::string name = path.filename().string();
    log_.entries.push_back("open " + name);
    auto it = files.find(name);
    open_ = it != files.end();
    frames_ = open_ ? it->second : 0;
    return open_;
  }
  void close() override {
    log_.entries.push_back("close");
    open_ = false;
    frames_ = 0;
  }
  bool isOpen() const override { return open_; }
  int frameCount() const override { return frames_; }
  // Requests answered kPending, then with frame `standIn` as kStandIn, before frames are handed
  // out again; and the travel last asked with.
  int pendingAnswers = 0;
  int standInAnswers = 0;
  int standIn = 0;
  MovieTravel lastTravel;
  FrameState requestFrame(int n, const MovieTravel& travel, Picture& out) override {
    lastTravel = travel;
    if (pendingAnswers > 0) {
      --pendingAnswers;
      log_.entries.push_back("pending " + std::to_string(n));
      return FrameState::kPending;
    }
    if (standInAnswers > 0) {
      --standInAnswers;
      log_.entries.push_back("stand-in " + std::to_string(standIn) + " for " + std::to_string(n));
      decodeFrame(standIn, out);
      log_.entries.pop_back();
      return FrameState::kStandIn;
    }
    return decodeFrame(n, out) ? FrameState::kReady : FrameState::kMissing;
  }
  void keepReady(const std::vector<int>& frames) override {
    std::string entry = "ready";
    for (int n : frames) entry += " " + std::to_string(n);
    log_.entries.push_back(entry);
  }
  bool decodeFrame(int n, Picture& out) override {
    log_.entries.push_back("decode " + std::to_string(n));
    if (!open_ || n < 0 || n >= frames_) return false;
    out.width = 1;
    out.height = 1;
    out.pixels = {static_cast<uint32_t>(n)};
    return true;
  }

 private:
  MovieLog& log_;
  bool open_ = false;
  int frames_ = 0;
};

class FakeTimer final : public MultimediaTimer {
 public:
  explicit FakeTimer(MovieLog& log) : log_(log) {}
  bool runs = true;
  bool running() const override { return runs; }
  void stop() override {
    log_.entries.push_back("stop");
    runs = false;
  }
  void start() override {
    log_.entries.push_back("start");
    runs = true;
  }

 private:
  MovieLog& log_;
};

}  // namespace kestrel::test
