#pragma once
// CabSession: one drive from its start command to its close. It owns the drive's state, the
// sprite scene and the virtual clock, runs the 33 ms event (MMTimer1Timer) and the tick
// (Timer1Timer) as ordered stage lists, and takes the driver's input.
//
// Thread contract: everything here runs on the one thread that owns the drive — the scheduler
// calls both handlers inside advanceBy/advanceTo on the caller's thread, so nothing is locked.
//
// Adding a stage: give it a name in EventStage or TickStage at its place in the order (with the
// reason it stands there), list it in kEventStages / kTickStages, and call its rule from
// runEventStage / runTickStage. Stages that later rules fill already stand in the lists by name.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/controls/serial_commands.h"
#include "core/controls/virtual_key.h"
#include "core/data/picture_catalog.h"
#include "core/front/drive_setup.h"
#include "core/ports/gamepad_poller.h"
#include "core/present/callout_queue.h"
#include "core/present/movie_playback.h"
#include "core/present/sound_bank.h"
#include "core/present/value_display.h"
#include "core/sim/scheduler.h"
#include "core/state/drive_context.h"

namespace kestrel {

// The 33 ms event, in order.
enum class EventStage {
  ResetForces,      // netForce and resistForce start from 0: only this event resets them, and the
                    // tick relies on one having run since the previous tick
  TractiveForce,    // the force of the effective notch, then the power-notch delay and the latch
                    // for the ammeter; so a changed notch pulls from the following event
  AirBrake,         // pressure model, main-reservoir leak, then the brake-notch delays
  EngineSpeed,      // diesel: follows the speed and gear that the force was computed with
  FrameAdvance,     // speed into frames and the [SpeedUnit] row; a row change resets distanceRun,
                    // so it comes before the distance step
  PrecedingTrain,   // moves through the frames like the player's train, only while ahead of it
  Distance,         // distanceRun and distanceToStop
  ClockAndAutoRun,  // TickCounter; auto-run sets the speed that the next event advances with
  MovieSync,        // the sub-frame of a switched movie, which reads the clock
};

// The tick, in order. The stages after Motion see the new speed.
enum class TickStage {
  GameController,     // USBScan while a game controller is chosen: the handles it sets stand for the
                      // whole tick; the characters it posts arrive after the tick
  AtsWarningSound,    // the ATS bells and chime after the last tick's alarm and acknowledgement
  StationSection,     // the station section the train is in, for the ATS line speed
  TickCount,          // tickCount and the limit post's blinking; the speed needle and digital
                      // speed, showing the speed before this tick
  BrakeForce,         // friction factor and brake force from the pressures the events left
  Motion,             // forces, stop clamp and the integration of the speed
  SquealAndLamps,     // brake squeal from this tick's pressures and speed; the pilot lamps from
                      // the new forces
  Clock,              // timecalc: clock text and clock face
  BrakeAndAirSounds,  // the emergency-brake sound, the held horn and buzzer
  Meters,             // voltmeter, resistance steps, ammeter, then the electric brake, which
                      // overrides the ammeter while it carries current
  Compressor,         // after the pressures of this tick's events
  LineSounds,         // attenuation, environment sounds, points, Doppler, then the motor or engine
                      // sounds, all from the new speed and frame
  Callouts,           // the first-notch call-out asked for, what is due at the position, then one
                      // step of the call-out queue
  GradientSampling,   // the gradient post sets the head gradient; the mean under the train, used by
                      // the next tick's forces
  SignalsAndAts,      // aspects, codes, ATS, speed checks, rollback; then the signal pictures
  Stations,           // the preceding train's removal; the stop marker on the visit's first tick, then
                      // stops, doors, end of run
  Vigilance,          // the vigilance device, the stop-approach chime
  MovieSwitching,     // station and branch movies (may skip the rest of the tick while a switch
                      // waits), then the ends of the line, which see the frame the switch left
  Transmission,       // diesel: gear selection, shifting, engine key and stall
  Displays,           // the passenger picture, the notices, the stop lines, remaining bar and posts;
                      // the visual effects off (every tick) and with them the panel overlay; last
                      // the value display, which shows what all of them left
};

inline constexpr std::array kEventStages{
    EventStage::ResetForces, EventStage::TractiveForce,   EventStage::AirBrake,
    EventStage::EngineSpeed, EventStage::FrameAdvance,    EventStage::PrecedingTrain,
    EventStage::Distance,    EventStage::ClockAndAutoRun, EventStage::MovieSync,
};

inline constexpr std::array kTickStages{
    TickStage::GameController,  // polls only while a game controller is chosen
    TickStage::AtsWarningSound,
    TickStage::StationSection,
    TickStage::TickCount,
    TickStage::BrakeForce,
    TickStage::Motion,
    TickStage::SquealAndLamps,
    TickStage::Clock,
    TickStage::BrakeAndAirSounds,
    TickStage::Meters,
    TickStage::Compressor,
    TickStage::LineSounds,
    TickStage::Callouts,
    TickStage::GradientSampling,
    TickStage::SignalsAndAts,
    TickStage::Stations,
    TickStage::Vigilance,
    TickStage::MovieSwitching,
    TickStage::Transmission,
    TickStage::Displays,
};

// What pause remembers of a channel, to play it again on resume.
enum class ChannelResumeMode { None, Once, Looping };

inline constexpr const char* kSoundReinitialiseFailed = "DirectSoundを初期化できませんでした。";
inline constexpr const char* kPauseCaption = "運転再開(&S)";    // shown while paused
inline constexpr const char* kRunningCaption = "一時停止(&S)";  // shown while running

class CabSession {
 public:
  // The loaded records; they must outlive the session and do not change during the drive.
  struct Records {
    const SettingsData& settings;
    const VehicleParams& vehicle;
    const PanelLayout& panel;
    const LineData& line;
    const PictureCatalog& pictures;
    // The waves the loader set on the channels and the call-out clips; without it the drive
    // has no call-out clips.
    const SoundBank* sounds = nullptr;
  };

  // Sets up the initial state of the drive (throws FatalError for a vehicle it refuses). The
  // clocks do not run until start(). `movie` is the route movie, opened by the loader's movie
  // stage (or not: the drive then runs without pictures); the session switches and closes it.
  CabSession(Records records, Mixer& mixer, ProgramInputState& program, StartOptions options = {},
             uint64_t randomSeed = 0, MovieSource movie = {});
  CabSession(const CabSession&) = delete;
  CabSession& operator=(const CabSession&) = delete;

  // The creation epilogue's start command: ATS on unless the preference switches it off, the
  // ATS lamp, then start1Click.
  void start();
  // Pause and resume: stops or starts both clocks; remembers and replays the playing sounds.
  void start1Click();
  bool running() const { return scheduler_.running(); }
  const std::string& startCaption() const { return startCaption_; }
  ChannelResumeMode resumeMode(int channel) const;
  // The engine side of closing the cab window: clocks stopped, the values reset that the next
  // window must not inherit, the route movie closed, every channel in use stopped, the call-out
  // queue emptied, the sound data freed and the mixer initialised again. False when the mixer
  // could not be initialised (the desktop then shows kSoundReinitialiseFailed and ends the
  // program).
  bool close();

  // The "Move" menu (and the game controller's station key): the jump to station `station`,
  // back to the main movie first when a station or branch movie plays. The caller sets the
  // window caption back to the line name. False, and nothing done, for a station outside
  // [Station].
  bool StationClick(int32_t station);

  // The two handlers, as the scheduler calls them.
  void MMTimer1Timer();
  void Timer1Timer();
  // For a stage that must end the tick early (a movie switch that has to wait).
  void skipRestOfTick() { skipRestOfTick_ = true; }

  // Input, in the one vocabulary of the cab window. Posted characters (the wheel) are delivered
  // by deliverPosted(), which the owner calls after the input being handled.
  void AsciiDown(char32_t key);
  void keydowns(VirtualKey key, KeyModifiers modifiers);
  void keyups(VirtualKey key);
  // The release of a typed character's key (the held horn "3" and buzzer "4").
  void keyupChar(char32_t key);
  void WheelD();
  void WheelU();
  void deliverPosted();
  // The serial controller's receive event with the bytes read: a completed command is handled at
  // once; the characters it posts wait for deliverPosted().
  void RxChar(std::string_view bytes);
  // The serial port closed (by the menu, or the device went away): the bytes of a command it did
  // not finish are dropped, so that they cannot spoil the first command of the next connection.
  void serialPortClosed();
  // The game controller that the tick polls while a game-controller kind is chosen (nullptr: none
  // is polled). It must outlive the session or be set back to nullptr.
  void setGamepadPoller(GamepadPoller* poller) { gamepad_ = poller; }

  // Where the call-out queue reports "喚呼の再生エラー".
  void setMessageSink(CalloutQueue::MessageSink sink) { callouts_.setMessageSink(std::move(sink)); }

  // The preferences that the tick writes (VisualEffectsOff, every tick) and the cab display
  // reads: the ones the cab window's menus toggle and its close writes back. Until set, the
  // session works on a copy of the loaded ones.
  void setPreferences(Preferences& preferences) { preferences_ = &preferences; }
  const Preferences& preferences() const { return *preferences_; }

  // Called at the end of every tick (the runner's trace).
  void setTickObserver(std::function<void()> observer) { tickObserver_ = std::move(observer); }

  Scheduler& scheduler() { return scheduler_; }
  DriveContext& context() { return ctx_; }
  const TrainState& train() const { return train_; }
  const ControlState& control() const { return control_; }
  const KeyState& keys() const { return keys_; }
  const SpriteScene& sprites() const { return sprites_; }
  const DriveConstants& constants() const { return constants_; }
  const CalloutQueue& calloutQueue() const { return callouts_; }
  // The value display's labels and memo lines, written by the tick.
  ValueDisplay& valueDisplay() { return valueDisplay_; }
  // The movie switching (the restore of a drive returns to the main movie through it; the cab
  // display takes the spare frame of a branch switch from it).
  MoviePlayback& moviePlayback() { return movie_; }

 private:
  // The 33 ms event as the movie switches stop and start it.
  class MultimediaLink final : public MultimediaTimer {
   public:
    explicit MultimediaLink(Scheduler& s) : s_(s) {}
    bool running() const override { return s_.isRunning(Scheduler::Timer::Multimedia); }
    void stop() override { s_.stopTimer(Scheduler::Timer::Multimedia); }
    void start() override { s_.startTimer(Scheduler::Timer::Multimedia); }

   private:
    Scheduler& s_;
  };

  void runEventStage(EventStage stage);
  void runTickStage(TickStage stage);

  Records records_;
  DriveConstants constants_;
  TrainState train_;
  ControlState control_;
  KeyState keys_;
  SpriteScene sprites_;
  DriveRandom random_;
  Mixer& mixer_;
  CalloutQueue callouts_;
  ValueDisplay valueDisplay_;
  DriveContext ctx_;
  Scheduler scheduler_;
  MultimediaLink multimedia_{scheduler_};
  MoviePlayback movie_;
  std::array<ChannelResumeMode, Mixer::kChannelCount> resume_{};
  std::string startCaption_;
  Preferences ownPreferences_;
  Preferences* preferences_ = &ownPreferences_;
  bool skipRestOfTick_ = false;
  std::function<void()> tickObserver_;
  SerialReceiveBuffer serialBuffer_;
  GamepadPoller* gamepad_ = nullptr;
};

}  // namespace kestrel
