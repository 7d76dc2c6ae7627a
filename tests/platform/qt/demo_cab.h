#pragma once
// A cab session on the quick demo for the view's tests: the line and train loaded as the cab
// window loads them (pictures through Qt, the route movie through FFmpeg, no sounds). The
// folder's tests share one application on the offscreen platform (qt_application.cpp).
#include <QImage>
#include <memory>
#include <string>

#include "core/front/cab_session.h"
#include "core/front/session_loader.h"
#include "core/ports/recording_mixer.h"
#include "platform/ffmpeg/ffmpeg_movie_reader.h"
#include "support/picture_match.h"

namespace kestrel::test {

struct DemoCab {
  explicit DemoCab(const std::string& line = "line_rapid.dat",
                   const std::string& train = "train_313-1000_8cars.dat");

  LoadedSession loaded;
  FfmpegMovieReader reader;
  RecordingMixer mixer;
  ProgramInputState program;
  std::unique_ptr<CabSession> session;

  TrainState& train() { return session->context().train; }
  // Advances the drive's clock by `seconds`, the speed held at `kmh` before every 33 ms event.
  void drive(double seconds, double kmh);
  // The same at the filming speed of the frame the train is at (backwards for direction -1):
  // one frame per 33 ms event.
  void film(double seconds, int direction = 1);
};

// Frame n of the demo's route movie at its own size, decoded by a reader of its own.
Picture demoFrame(int n);

}  // namespace kestrel::test
