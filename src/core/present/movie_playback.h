#pragma once
// The route movie in use and its counters: the main movie, the branch movies that are switched
// in while the train moves through their window, the station movies that play while it stands at
// a station, the sub-frame of a switched movie, and the ends of the line. Which frame the render
// loop decodes is the cab display's; it reads MovieMode, MovieFrame, SubFrame, LastShownFrame and
// movie.movieLastFrame.
//
// Thread contract: used on the thread that owns the drive. Every switch stops the 33 ms event
// before it changes the file and starts it again afterwards.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/ports/movie_reader.h"
#include "core/ports/picture.h"
#include "core/state/drive_context.h"

namespace kestrel {

inline constexpr std::string_view kMovieOpenFailed = "映像ファイルを開けません";

// [Path] + [DataName] + ".avi": the main movie's name as the message names it.
std::string mainMovieName(const SettingsData& settings, const LineData& line);
// The main movie and a switched movie ([MovieSwitch] field 4), found under the program directory.
std::filesystem::path mainMoviePath(const std::filesystem::path& programDirectory,
                                    const SettingsData& settings, const LineData& line);
std::filesystem::path switchedMoviePath(const std::filesystem::path& programDirectory,
                                        const SettingsData& settings, const std::string& movie);

// The cab session's 33 ms event, as the movie switches stop and start it.
class MultimediaTimer {
 public:
  virtual ~MultimediaTimer() = default;
  virtual bool running() const = 0;
  virtual void stop() = 0;
  virtual void start() = 0;
};

// The movie a cab session plays: the reader (nullptr: a drive without pictures, whose counters
// still run) and the program directory the movie files are found in.
struct MovieSource {
  MovieReader* reader = nullptr;
  std::filesystem::path programDirectory;
};

class MoviePlayback {
 public:
  MoviePlayback(MovieSource source, MultimediaTimer& timer) : source_(std::move(source)), timer_(timer) {}

  // Start of the drive (the main movie is already open, or could not be): the movie last frame,
  // MovieMode 0, MovieDirection 0, every row not yet played.
  void setUp(DriveContext& ctx);
  // 33 ms event, after the clock: a station movie advances by time, a branch movie with the
  // main frame counter.
  void updateSubFrame(DriveContext& ctx);
  // Tick: the [MovieSwitch] rows in table order. Returns true when the rest of the tick must be
  // skipped (a switch is due while the 33 ms event is stopped).
  bool switchMovies(DriveContext& ctx);
  // Back to the main movie from a station or branch movie (station jump, restore of a drive);
  // the 33 ms event is restarted only if it was running. MovieDirection is left alone.
  void returnToMainMovie(DriveContext& ctx);
  // Every row may play again (station jump, restore).
  void clearDoneFlags(DriveContext& ctx);
  // The cab window closes: the movie is closed.
  void close();
  // The main movie's frames a jump can land on, for the reader to have ready: told now when the
  // main movie plays, and again whenever it is opened anew.
  void keepJumpTargetsReady(const DriveContext& ctx, std::vector<int> frames);

  // Frame 1 of the branch movie last switched in, decoded at the switch ("the spare frame").
  const Picture& spareFrame() const { return spare_; }

 private:
  void open(const std::filesystem::path& path);
  void openMain(DriveContext& ctx);
  bool stationRow(DriveContext& ctx, size_t i);
  bool branchRow(DriveContext& ctx, size_t i);

  MovieSource source_;
  MultimediaTimer& timer_;
  Picture spare_;
  std::vector<int> jumpTargets_;
};

// Tick, after the switching: the ends of the line in the main movie. Backing below frame 1 stops
// the train at frame 1; running past the first [MovieStop] frame (by fewer than 500 frames)
// stops it there; after turning back, backing towards it stops it at the frame beyond it; running
// past the movie's last frame (when its length is known) stops it at that frame. A stop
// puts the distance at the frame's own ([SpeedUnit]) distance, sets the speed, the power handle
// and the power notch to 0 and stops all sounds
// (sound::stopAllSounds: every channel from 1 up). Returns true when it stopped the train.
bool holdAtLineEnds(DriveContext& ctx);

}  // namespace kestrel
