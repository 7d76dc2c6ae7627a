#include "core/front/cab_session.h"

#include "core/controls/driver_keys.h"
#include "core/controls/gamepad_scan.h"
#include "core/controls/key_handlers.h"
#include "core/controls/mascon_update.h"
#include "core/front/station_jump.h"
#include "core/present/lineside_pictures.h"
#include "core/present/needle_rules.h"
#include "core/present/sound_rules.h"
#include "core/present/trackside_pictures.h"
#include "core/present/visual_effects.h"
#include "core/sim/ats.h"
#include "core/sim/ats_alarm.h"
#include "core/sim/brake_force.h"
#include "core/sim/brake_system.h"
#include "core/sim/clock.h"
#include "core/sim/compressor.h"
#include "core/sim/diesel_engine.h"
#include "core/sim/electric_brake.h"
#include "core/sim/frame_advance.h"
#include "core/sim/gradient.h"
#include "core/sim/motion.h"
#include "core/sim/notices.h"
#include "core/sim/pilot_lamps.h"
#include "core/sim/pre_train.h"
#include "core/sim/stations.h"
#include "core/sim/stop_chime.h"
#include "core/sim/traction.h"
#include "core/sim/traction_meters.h"
#include "core/sim/vigilance.h"

namespace kestrel {

CabSession::CabSession(Records records, Mixer& mixer, ProgramInputState& program, StartOptions options,
                       uint64_t randomSeed, MovieSource movie)
    : records_(records),
      constants_(DriveConstants::from(records.settings, records.vehicle)),
      sprites_(SpriteScene::fromCatalog(records.pictures)),
      random_(randomSeed),
      mixer_(mixer),
      ctx_{records.settings, records.vehicle, records.panel, records.line, constants_, train_,
           control_,         keys_,           program,       sprites_,     mixer,      random_,
           callouts_,        &masconupdate},
      movie_(std::move(movie), multimedia_),
      startCaption_(records.settings.Start.value_or("Start")),
      ownPreferences_(records.settings.preferences) {
  scheduler_.setHandler(Scheduler::Timer::Multimedia, [this] { MMTimer1Timer(); });
  scheduler_.setHandler(Scheduler::Timer::Tick, [this] { Timer1Timer(); });
  callouts_.attach(ctx_);
  if (records.sounds) callouts_.setClips(records.sounds->clips);
  setUpDrive(ctx_, options);
  movie_.setUp(ctx_);
  sound::prepare(ctx_);
}

void CabSession::start() {
  train_.AtsEnabled = records_.settings.preferences.AtsOff != 1;
  sprites_.setVisible("img_Lamp_Ats1", train_.AtsEnabled);
  start1Click();
}

void CabSession::start1Click() {
  if (scheduler_.running()) {
    for (int ch = 0; ch < Mixer::kChannelCount; ++ch) {
      if (!mixer_.hasWave(ch)) continue;
      const bool playing = mixer_.isPlaying(ch);
      resume_[static_cast<size_t>(ch)] =
          !playing ? ChannelResumeMode::None
                   : (mixer_.isLooping(ch) ? ChannelResumeMode::Looping : ChannelResumeMode::Once);
      if (playing) mixer_.stop(ch);
    }
    mixer_.suspendOutput(true);
    scheduler_.pause();
    startCaption_ = kPauseCaption;
  } else {
    scheduler_.resume();
    mixer_.suspendOutput(false);
    startCaption_ = kRunningCaption;
    for (int ch = 0; ch < Mixer::kChannelCount; ++ch) {
      const ChannelResumeMode mode = resume_[static_cast<size_t>(ch)];
      if (mode == ChannelResumeMode::None) continue;
      mixer_.stop(ch);
      if (mode == ChannelResumeMode::Once)
        mixer_.playOnce(ch);
      else
        mixer_.playLooped(ch);
    }
  }
  train_.LastShownFrame -= 1;  // the next drawn frame is decoded anew
}

ChannelResumeMode CabSession::resumeMode(int channel) const {
  if (channel < 0 || channel >= Mixer::kChannelCount) return ChannelResumeMode::None;
  return resume_[static_cast<size_t>(channel)];
}

bool CabSession::close() {
  scheduler_.pause();
  train_.distanceToStop = 0;
  train_.engineSpeed = 0;
  train_.engineSpeedTarget = 0;
  train_.autoEmergency = false;
  train_.autoService = false;
  movie_.close();
  for (int ch = 0; ch < Mixer::kChannelCount; ++ch)
    if (mixer_.hasWave(ch)) mixer_.stop(ch);
  callouts_.clear();
  mixer_.freeAllWaves();
  return mixer_.reinitialise();
}

bool CabSession::StationClick(int32_t station) {
  if (station < 0 || station >= static_cast<int32_t>(records_.line.Station.size())) return false;
  movie_.returnToMainMovie(ctx_);
  movie_.clearDoneFlags(ctx_);
  return kestrel::StationClick(ctx_, station);
}

void CabSession::MMTimer1Timer() {
  for (EventStage stage : kEventStages) runEventStage(stage);
}

void CabSession::Timer1Timer() {
  skipRestOfTick_ = false;
  for (TickStage stage : kTickStages) {
    runTickStage(stage);
    if (skipRestOfTick_) break;
  }
  if (tickObserver_) tickObserver_();
  deliverPostedCharacters(ctx_);  // what the game controller posted, as messages after the tick's own
}

void CabSession::runEventStage(EventStage stage) {
  DriveContext& ctx = ctx_;
  switch (stage) {
    case EventStage::ResetForces:
      train_.netForce = Fixed();
      train_.resistForce = Fixed();
      break;
    case EventStage::TractiveForce:
      traction::computeTractiveForce(ctx);
      break;
    case EventStage::AirBrake:
      brakes::advanceAirBrake(ctx);
      break;
    case EventStage::EngineSpeed:
      diesel::advanceEngineSpeed(ctx);
      break;
    case EventStage::FrameAdvance:
      motion::advanceFrame(ctx);
      break;
    case EventStage::PrecedingTrain:
      advancePreTrain(ctx);
      break;
    case EventStage::Distance:
      motion::advanceDistance(ctx);
      break;
    case EventStage::ClockAndAutoRun:
      motion::advanceClock(ctx);
      break;
    case EventStage::MovieSync:
      movie_.updateSubFrame(ctx);
      break;
  }
}

void CabSession::runTickStage(TickStage stage) {
  DriveContext& ctx = ctx_;
  switch (stage) {
    case TickStage::GameController:
      if (gamepad_) USBScan(ctx, *gamepad_);
      break;
    case TickStage::AtsWarningSound:
      atsWarningSounds(ctx);
      break;
    case TickStage::StationSection:
      lookUpStationSection(ctx);
      break;
    case TickStage::TickCount:
      train_.tickCount += 1;
      trackside::blinkLimitPost(ctx);
      needles::updateSpeedNeedle(ctx);
      break;
    case TickStage::BrakeForce:
      brakes::updateBrakeForce(ctx);
      break;
    case TickStage::Motion:
      motion::runTickMotion(ctx);
      break;
    case TickStage::SquealAndLamps:
      sound::brakeSqueal(ctx);
      updatePilotLamps(ctx);
      break;
    case TickStage::Clock:
      timecalc(ctx, train_.TickCounter);
      break;
    case TickStage::BrakeAndAirSounds:
      sound::brakeAndAirSounds(ctx);
      break;
    case TickStage::Meters:
      traction::updateVoltmeter(ctx);
      traction::updateResistanceSteps(ctx);
      traction::updateAmmeter(ctx);
      brakes::updateElectricBrake(ctx);
      break;
    case TickStage::Compressor:
      brakes::runCompressor(ctx);
      break;
    case TickStage::LineSounds:
      sound::lineSounds(ctx);
      break;
    case TickStage::Callouts:
      callouts_.runTick();
      break;
    case TickStage::GradientSampling:
      trackside::updateGradientPost(ctx);  // sets the head gradient that is sampled
      motion::sampleGradient(ctx);
      break;
    case TickStage::SignalsAndAts:
      runSignalsAndAts(ctx);
      lineside::updateTrafficLights(ctx);  // before the signal pictures show its cab indicator
      trackside::updateSignalPictures(ctx);
      break;
    case TickStage::Stations:
      removePreTrain(ctx);
      trackside::updateStopMarker(ctx);  // before the visit is marked
      runStations(ctx);
      break;
    case TickStage::Vigilance:
      runVigilance(ctx);
      stopApproachChime(ctx);
      break;
    case TickStage::MovieSwitching:
      if (movie_.switchMovies(ctx)) {
        skipRestOfTick();
        break;
      }
      if (holdAtLineEnds(ctx)) masconupdate(ctx);  // the handle texts show the power handle at 0
      break;
    case TickStage::Transmission:
      diesel::selectGear(ctx);
      diesel::shiftGears(ctx);
      diesel::runEngineKey(ctx);
      diesel::checkStall(ctx);
      break;
    case TickStage::Displays:
      showPassengerPicture(ctx);
      updateNotices(ctx);
      trackside::updateTracksideDisplays(ctx);
      lineside::updateAnimations(ctx);
      lineside::updateCrossingPicture(ctx);
      applyVisualEffectsRule(*preferences_, sprites_);
      valueDisplay_.update(ctx);
      break;
  }
}

void CabSession::AsciiDown(char32_t key) {
  kestrel::AsciiDown(ctx_, key);
}
void CabSession::keydowns(VirtualKey key, KeyModifiers modifiers) {
  kestrel::keydowns(ctx_, key, modifiers);
}
void CabSession::keyups(VirtualKey key) {
  kestrel::keyups(ctx_, key);
}
void CabSession::keyupChar(char32_t key) {
  kestrel::keyupChar(ctx_, key);
}
void CabSession::WheelD() {
  kestrel::WheelD(ctx_);
}
void CabSession::WheelU() {
  kestrel::WheelU(ctx_);
}
void CabSession::deliverPosted() {
  deliverPostedCharacters(ctx_);
}
void CabSession::RxChar(std::string_view bytes) {
  if (auto command = serialBuffer_.RxChar(bytes)) SerialCommand(ctx_, *command);
}
void CabSession::serialPortClosed() {
  serialBuffer_ = SerialReceiveBuffer{};
}

}  // namespace kestrel
