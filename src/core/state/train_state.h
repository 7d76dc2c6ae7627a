#pragma once
// TrainState: the dynamic state of one drive — motion, traction, brakes, movie counters and the
// flags that the signal, station, vigilance and notice rules share. One instance per cab session,
// zeroed when the session is created; drive_setup gives it the initial state of the run.
//
// Fixed-point fields are `Fixed` and every computed store rounds (Fixed::fromDouble). Values
// whose zero means something start at their "none" value (999), as the station jump sets them.
// Later rules add their fields in a group of their own below, under their published names.
#include <cstdint>
#include <string>
#include <vector>

#include "core/state/callout_state.h"
#include "core/state/lineside_state.h"
#include "core/state/movie_state.h"
#include "core/state/overlay_texts.h"
#include "core/state/pre_train_state.h"
#include "core/state/signal_state.h"
#include "core/state/sound_state.h"
#include "core/state/station_state.h"
#include "core/state/trackside_state.h"
#include "core/util/fixed.h"

namespace kestrel {

inline constexpr int32_t kNone999 = 999;  // "nothing pending" for speeds, codes and call-outs

struct TrainState {
  // Motion.
  double speed = 0;   // km/h, signed; negative while rolling backwards
  Fixed netForce;     // N
  Fixed brakeForce;   // N, >= 0
  Fixed resistForce;  // N, negative opposes forward motion
  Fixed frictionFactor;
  Fixed adhesionCoeff;
  Fixed adhesionLimit;                   // N
  Fixed predictedSpeed;                  // km/h
  std::string slipText;                  // "空転", "滑走" or empty
  Fixed gradient;                        // per mille, effective over the train
  Fixed headGradient;                    // per mille, at the head, from the slope table
  std::vector<int32_t> gradientSamples;  // one per car, newest first
  double gradientSampleAt = 0;           // cm
  bool inTunnel = false;
  double distanceRun = 0;     // cm from the start of the route movie
  double stopTarget = 0;      // cm
  double distanceToStop = 0;  // cm
  int32_t TickCounter = 0;    // 1/30 s: the time of day
  int32_t tickCount = 0;      // ticks run
  std::string speedText;
  std::string distanceText;

  // Movie counters (the frame advance is motion's; switching belongs to the movie rules).
  int32_t MovieFrame = 0;
  int32_t FrameStepAccumulator = 0;
  int32_t UnitsPerFrame = 0;  // km/h: the filming speed at MovieFrame
  int32_t frameRow = -1;      // [SpeedUnit] row holding MovieFrame; -1 before the first lookup
  int32_t SubFrame = 0;
  int32_t MovieMode = 0;  // 0 main, 1 station movie, 2 branch movie, 9 switching
  int32_t MovieDirection = 0;
  int32_t LastShownFrame = -1;

  // Traction.
  int32_t powerNotch = 0;
  bool powerPending = false;
  int32_t powerDelayCount = 0;
  Fixed tractionLatch;  // N: tractive force of the last multimedia event
  int32_t motorCurrent = 0;
  int32_t resistStep = 0;
  Fixed lineVoltage;        // V
  Fixed lineVoltageTarget;  // V
  int32_t ammeter = 0;      // A, negative while braking electrically
  int32_t engineState = 1;  // 1 running, 0 stopped, -1 starting, -2 stopping
  int32_t engineKey = 0;    // 1 start key held, 2 stop key held
  int32_t engineKeyTicks = 0;
  double engineSpeed = 0;
  double engineSpeedTarget = 0;
  int32_t gear = 0;
  int32_t targetGear = 0;
  int32_t shifting = 0;  // 0 none, 1 engaging targetGear, 2 going to neutral
  int32_t shiftTicks = 0;

  // Brakes.
  Fixed bcMotor;            // kPa
  Fixed bcTrailer;          // kPa
  Fixed erPressure;         // kPa
  double bpPressure = 0;    // kPa
  Fixed mrPressure;         // kPa
  Fixed sapPressure;        // kPa
  double feedPressure = 0;  // kPa, min(mrPressure, 490)
  int32_t brakeNotch = 0, sapNotch = 0, ebNotch = 0;
  bool brakePending = false, sapPending = false, ebPending = false;
  int32_t brakeDelayCount = 0, sapDelayCount = 0, ebDelayCount = 0;
  bool autoEmergency = false;
  bool autoService = false;
  double elecBrakeCurrent = 0;  // A
  int32_t elecBrakeStep = 0;
  bool compressorOn = false;

  // Shared with the signal and ATS rules (the driver's ATS keys read and reset these).
  bool AtsEnabled = true;
  int32_t checkSpeed = kNone999;  // 999 no check, 998 warning pending, 0 stop, else km/h
  bool atsAlarm = false;
  bool atsAcknowledged = false;
  int32_t atsAlarmTicks = 0;
  bool atsAckLatch = false;

  // Shared with the station and door rules.
  bool doorsOpen = false;
  bool doorsCommandedOpen = false;

  // Shared with the vigilance device and the notices.
  int32_t vigilanceTicks = 0;
  std::string noticeText;  // every item begins with "0"

  // Shared with the call-out rules: raised by them, consumed by masconupdate step 11, which
  // then raises departureCalloutDue for the call-out queue (StationKanko kind 4).
  bool departureCalloutRequest = false;
  bool departureCalloutDue = false;

  // Stations, doors and the clock; the preceding train; the movie switching.
  StationState stations;
  PreTrainState preTrain;
  MovieSwitchState movie;

  // How often the train was put somewhere else: by the "Move" menu (StationClick) and by the
  // restore of a saved drive. Nothing in the drive reads them; the grading tells them apart from
  // running.
  int32_t stationJumps = 0;
  int32_t restores = 0;

  // The return to the title (BackClick): 0 none; 1 to 255 the fade in progress, which the
  // presentation advances, closing the cab window when it passes 255.
  int32_t FadeLevel = 0;

  // Kept by the signal rules, read by the call-outs: the code of the signal whose approach
  // section holds the train (999 when none).
  int32_t currentCode = kNone999;

  // Signals, ATS patterns, speed checks; the trackside pictures' working values.
  SignalState signals;
  TracksideState trackside;
  // Traffic lights, animations and level crossings beside the line.
  LinesideState lineside;

  // The sound rules and the call-outs.
  SoundState sound;
  CalloutState callout;

  // Status texts for the cab display that have no other owner.
  OverlayTexts texts;
};

}  // namespace kestrel
