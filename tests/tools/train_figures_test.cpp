// The demo trains against the published figures of the real ones: each vehicle file of the quick
// demo is driven by the engine on level track — full power from a standstill, full service brake
// from speed, emergency brake from top speed — and the figures are read off the drive.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/data/vehicle_loader.h"
#include "core/front/cab_session.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

struct Published {
  const char* file;
  double startAccel;    // km/h/s
  double topSpeed;      // km/h in service
  double serviceDecel;  // km/h/s, full service
  double emergencyDecel;
};

class TrainFigures : public ::testing::TestWithParam<Published> {
 protected:
  void SetUp() override {
    const std::filesystem::path file = std::filesystem::path(KESTREL_QUICK_DEMO_DIR) / GetParam().file;
    rig.vehicle = VehicleParams{};
    rig.panel = PanelLayout{};
    loadVehicleFile(file, rig.vehicle, rig.panel);
    // Level track, 333 km of it, away from the ends of the line.
    rig.line.StartPos = 300;
    rig.line.MovieStop = {99000};
    rig.rebuild();
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
        rig.program);
    rig.mixer.setClock([this] { return session->scheduler().now(); });
    session->start();
  }

  const TrainState& train() const { return session->train(); }
  const ControlState& control() const { return session->control(); }
  void type(char32_t key) {
    session->AsciiDown(key);
    session->deliverPosted();
  }
  void run(double seconds) { session->scheduler().advanceBy(static_cast<int64_t>(seconds * 1e6)); }
  // Runs in 1 s steps until `done`, at most `limit` seconds; a driver who is awake touches the
  // handle every 20 s (the vigilance device would brake otherwise). Returns the seconds run.
  template <typename Done>
  double runUntil(Done done, double limit, char32_t keepAwake) {
    double t = 0;
    while (!done() && t < limit) {
      run(1);
      t += 1;
      if (static_cast<int>(t) % 20 == 0) type(keepAwake);
    }
    return t;
  }
  void fullPower() {
    type(U'5');  // brakes released, power off
    run(5);      // the cylinders empty
    for (int i = 0; i < 8; ++i) type(U'8');
  }
  // Full service: one step short of emergency.
  void fullService() {
    type(U'5');
    const int32_t target = -(session->constants().nB - 1);
    while (control().brakeHandle > target) type(U'2');
  }

  test::DriveRig rig;
  std::unique_ptr<CabSession> session;
};

TEST_P(TrainFigures, StartingAccelerationTopSpeedAndBrakesMatchTheRealTrain) {
  const Published& p = GetParam();
  fullPower();
  // Starting acceleration: over the first 20 km/h after the train moves (the notch delays and the
  // build-up of the current lie before it).
  runUntil([&] { return train().speed > 0.5; }, 30, U'8');
  const double v0 = train().speed;
  const double t20 = runUntil([&] { return train().speed >= v0 + 20; }, 60, U'8');
  const double startAccel = (train().speed - v0) / t20;

  const double tTop = runUntil([&] { return train().speed >= p.topSpeed; }, 600, U'8');
  const double reached = train().speed;

  // Full service from top speed: the rate once the cylinders have filled (3 s), over 10 s.
  fullService();
  run(3);
  const double vs = train().speed;
  run(10);
  const double serviceDecel = (vs - train().speed) / 10;

  // Emergency from top speed: power again, then the stopping distance.
  fullPower();
  runUntil([&] { return train().speed >= p.topSpeed; }, 600, U'8');
  const double vEb = train().speed;
  const double fromCm = train().distanceRun;
  type(U'0');
  const double tEb = runUntil([&] { return train().speed <= 0; }, 120, U'0');
  const double ebMetres = (train().distanceRun - fromCm) / 100;

  std::printf(
      "%s: start %.2f km/h/s, %.0f km/h after %.0f s, service %.2f km/h/s, "
      "emergency from %.1f km/h: %.0f m in %.0f s (%.2f km/h/s)\n",
      p.file, startAccel, reached, tTop, serviceDecel, vEb, ebMetres, tEb, vEb / tEb);

  EXPECT_NEAR(startAccel, p.startAccel, 0.15 * p.startAccel);
  EXPECT_GE(reached, p.topSpeed) << "top speed not reached on the level in 10 minutes";
  EXPECT_NEAR(serviceDecel, p.serviceDecel, 0.1 * p.serviceDecel);
  EXPECT_LE(ebMetres, 600);
  EXPECT_NEAR(vEb / tEb, p.emergencyDecel, 0.15 * p.emergencyDecel);
  EXPECT_EQ(train().speed, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Demo, TrainFigures,
                         ::testing::Values(Published{"train_313-1000_8cars.dat", 2.6, 120, 4.3, 5.1},
                                           Published{"train_313-1000_10cars.dat", 2.6, 120, 4.3, 5.1},
                                           Published{"train_383.dat", 2.1, 130, 3.8, 5.1}),
                         [](const ::testing::TestParamInfo<Published>& param) {
                           std::string n = param.param.file;
                           for (char& c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
}  // namespace kestrel
