#pragma once
// A movie reader that passes every call on to another one: tests and the cab harness derive from
// it to hold back or time the render step's requests while the real reader does the work.
#include <filesystem>

#include "core/ports/movie_reader.h"

namespace kestrel::test {

class ForwardingMovieReader : public MovieReader {
 public:
  explicit ForwardingMovieReader(MovieReader& reader) : reader_(reader) {}
  bool open(const std::filesystem::path& path) override { return reader_.open(path); }
  void close() override { reader_.close(); }
  bool isOpen() const override { return reader_.isOpen(); }
  int frameCount() const override { return reader_.frameCount(); }
  bool decodeFrame(int n, Picture& out) override { return reader_.decodeFrame(n, out); }
  FrameState requestFrame(int n, const MovieTravel& travel, Picture& out) override {
    return reader_.requestFrame(n, travel, out);
  }
  void setFrameSize(int width, int height) override { reader_.setFrameSize(width, height); }
  void keepReady(const std::vector<int>& frames) override { reader_.keepReady(frames); }

 protected:
  MovieReader& reader_;
};

}  // namespace kestrel::test
