#pragma once
// The desktop program: the adapters of the engine's ports, the title window, the help, value
// display and easy cab windows (made once), and the drives, each a cab window made at a train
// click and released after it closes.
//
// Thread contract: GUI thread only; it owns every drive.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <fstream>
#include <memory>

#include "app/command_line.h"
#include "core/front/cab_window_model.h"
#include "platform/ffmpeg/ffmpeg_movie_reader.h"
#include "platform/ffmpeg/threaded_movie_reader.h"
#include "platform/openal/openal_mixer.h"
#include "platform/qt/cab_window.h"
#include "platform/qt/debrief_window.h"
#include "platform/qt/drive_grading.h"
#include "platform/qt/drive_keys.h"
#include "platform/qt/easy_cab_window.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/qt_preference_store.h"
#include "platform/qt/qt_serial_link.h"
#include "platform/qt/qt_user_dialogs.h"
#include "platform/qt/title_window.h"
#include "platform/qt/value_display_window.h"
#include "platform/sdl/sdl_gamepad_poller.h"
#include "core/front/drive_recorder.h"
#include "core/front/drive_script.h"
#include "core/front/ghost_race.h"
#include "platform/qt/ghost_overlay.h"
#include "core/front/script_player.h"
#include "core/ports/drive_time_mixer.h"
#include "core/ports/memory_preference_store.h"
#include "platform/qt/qt_content_hasher.h"
#include "tools/run/trace_writer.h"

namespace kestrel::app {

class DesktopProgram final : public QObject {
  Q_OBJECT

 public:
  explicit DesktopProgram(DesktopOptions options);
  ~DesktopProgram() override;

  // The program entry after the application: the start-up check, the windows, the opening (or the
  // drive of the command line). Nonzero: the exit status of a program that cannot start.
  int start();

 private:
  struct Drive {
    std::unique_ptr<QtSerialLink> serial;  // the window's serial controller port, closed with it
    std::unique_ptr<ThreadedMovieReader> movie;  // decodes ahead on a thread of its own
    std::unique_ptr<MemoryPreferenceStore> replayPreferences;  // a replay's: the recorded drive's
    std::unique_ptr<CabWindowModel> model;
    std::unique_ptr<ScriptPlayer> player;      // a played script or recording
    std::unique_ptr<DriveRecorder> recorder;   // the drive's recording as it goes
    std::unique_ptr<GhostRace> ghost;          // the recorded drive raced against
    std::unique_ptr<GhostOverlay> ghostOverlay;
    bool replaying = false;
    bool replayPaused = false;
    std::unique_ptr<DriveGrading> grading;
    QPointer<CabWindow> window;
  };

  // A drive of the driver; with `replay`, the recording played over the movie instead.
  void runDrive(const SessionChoice& choice, StartOptions startOptions, const DriveRecording* replay = nullptr);
  // Reads a recording and plays it, after asking when its files differ; false when it is refused.
  bool startReplay(const std::filesystem::path& file);
  // A recording picked in a file dialog that opens in the drives folder.
  std::optional<std::filesystem::path> chooseRecording(const std::string& title);
  void startRecording(Drive& drive, const SessionChoice& choice, int32_t station, uint64_t seed);
  void finishRecording(Drive& drive);
  void addReplayMenu(Drive& drive);
  // A replay run on, silently and flat out, until the train has reached `station`.
  void replayForwardTo(Drive& drive, int32_t station);
  // The ghost of a drive: --ghost, else the best-graded recording of the same line and train.
  void startGhost(Drive& drive, const SessionChoice& choice, int32_t station);
  void driveClosed(bool soundReinitialised);
  // Help, easy cab or value display: shown beside the cab window when it opens.
  void showBesideCab(QWidget& window, bool raise = true);
  void afterTick();
  void reportMixer();
  void retire();
  void showDebrief(const DriveGrading& grading);
  bool readScript();
  void playInputs(Drive& drive, std::vector<ScriptInput> inputs, double rate);

  DesktopOptions options_;
  QtPreferenceStore preferences_;
  QtPictureLoader pictures_;
  OpenAlMixer mixer_;
  // The drives' sounds: heard on the device, kept in drive time for the drive (so that its
  // recording replays alike headless); muted while a script plays.
  DriveTimeMixer driveMixer_{mixer_};
  QtContentHasher hasher_;
  FfmpegMovieReader opening_;
  QtUserDialogs dialogs_;
  ProgramInputState program_;
  SdlGamepadPoller gamepad_;  // the first game controller, polled while a drive asks for it
  SessionCarryOver carryOver_;
  DriveKeys keys_;
  std::unique_ptr<TitleWindow> title_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<ValueDisplayWindow> valueDisplay_;
  std::unique_ptr<EasyCabWindow> easyCab_;
  std::unique_ptr<DebriefWindow> debrief_;
  std::unique_ptr<Drive> drive_;
  std::unique_ptr<Drive> retired_;  // the drive last closed, until its window is gone
  // --script: the inputs for the command line's drive, which runs silently on the runner's random
  // seed.
  std::vector<ScriptInput> script_;
  bool scriptPending_ = false;
  ProgramInputState replayProgram_;  // what a replayed drive's program run carried in
  std::ofstream traceFile_;
  std::unique_ptr<run::TraceWriter> trace_;
  QElapsedTimer clickToFrame_;
};

}  // namespace kestrel::app
