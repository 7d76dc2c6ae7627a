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
#include "core/ports/recording_mixer.h"
#include "tools/run/drive_script.h"
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
    std::unique_ptr<CabWindowModel> model;
    std::unique_ptr<DriveGrading> grading;
    QPointer<CabWindow> window;
  };

  void runDrive(const SessionChoice& choice, StartOptions startOptions);
  void driveClosed(bool soundReinitialised);
  // Help, easy cab or value display: shown beside the cab window when it opens.
  void showBesideCab(QWidget& window, bool raise = true);
  void afterTick();
  void reportMixer();
  void retire();
  void showDebrief(const DriveGrading& grading);
  bool readScript();
  void playScript(Drive& drive);

  DesktopOptions options_;
  QtPreferenceStore preferences_;
  QtPictureLoader pictures_;
  OpenAlMixer mixer_;
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
  // --script: the inputs for the command line's drive, which runs on a recording mixer (the
  // runner's sounds in drive time) and the runner's random seed.
  std::vector<run::ScriptInput> script_;
  size_t scriptNext_ = 0;
  bool scriptPending_ = false;
  RecordingMixer scriptMixer_;
  GamepadState scriptPad_;
  std::ofstream traceFile_;
  std::unique_ptr<run::TraceWriter> trace_;
  QElapsedTimer clickToFrame_;
};

}  // namespace kestrel::app
