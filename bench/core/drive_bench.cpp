// The engine's cost: a 10-minute drive (18 181 multimedia events, 6000 ticks) on a train built in
// code, driven through its keys, with no trace. The counter "ratio" is drive time per CPU time.
#include <benchmark/benchmark.h>

#include "core/front/cab_session.h"
#include "core/ports/recording_mixer.h"

namespace kestrel {
namespace {

struct BenchRecords {
  SettingsData settings;
  VehicleParams vehicle;
  PanelLayout panel;
  LineData line;
  PictureCatalog pictures;

  BenchRecords() {
    settings.Disp.TickRate = 30;
    VehicleParams& v = vehicle;
    v.BrakeType = 1;
    v.BrakeType2 = 1;
    v.Brake = 8;
    v.Power = 4;
    v.PowerDelay = 3;
    v.BrakeDelay = 10;
    v.SAPDelay = 5;
    v.EBrakeDelay = 8;
    v.BrakeRate = {Fixed::fromDouble(4.0), Fixed::fromDouble(3.0), Fixed::fromDouble(30.0)};
    v.BrakeRate2 = 0.01;
    v.BrakeUp = 300;
    v.BrakeDown = 200;
    v.SAPUp = 400;
    v.SAPDown = 300;
    v.EBrakeUp = 1000;
    v.EBrakeDown = 1000;
    v.EBrakeCurr = 500;
    v.MAXPress = 440;
    v.EBPress = 500;
    v.SAPPress = 440;
    v.HighAirPress = 880;
    v.LowAirPress = 780;
    v.Lose_elec = 8;
    v.ELBR = 50;
    v.Engine_Type = 1;
    v.Power_Type = 1;
    v.Brake_Type = 1;
    v.Mt = Fixed::fromInt(120);
    v.Tt = Fixed::fromInt(60);
    v.Tct = Fixed::fromInt(60);
    v.Tons = Fixed::fromInt(240);
    v.Cars = 6;
    v.MaxSpeed = 120;
    for (int k = 1; k <= 4; ++k) v.Notch.push_back({0.75 * k, 0.75 * k, 40, 80, 0.98, 0});
    line.Friction = Fixed::fromDouble(0.3);
    for (int r = 0; r < 50; ++r) {
      // round((60 + 60) x 20000 / 2.16) cm per row.
      line.SpeedUnit.push_back({r * 20000, (r + 1) * 20000, 60, 60, (r + 1) * 1111111.0});
      line.Slope.push_back({Fixed::fromInt(r % 5 - 2), r * 20000, (r + 1) * 20000});
    }
  }
};

void BM_TenMinuteDrive(benchmark::State& state) {
  BenchRecords records;
  constexpr int64_t kMinute = 60'000'000;
  for (auto _ : state) {
    RecordingMixer mixer;
    ProgramInputState program;
    CabSession session({records.settings, records.vehicle, records.panel, records.line, records.pictures},
                       mixer, program);
    mixer.setClock([&] { return session.scheduler().now(); });
    session.start();
    for (int minute = 0; minute < 10; ++minute) {
      for (int i = 0; i < 12; ++i) session.AsciiDown(U'8');  // release, full power
      session.scheduler().advanceBy(kMinute / 2);
      for (int i = 0; i < 11; ++i) session.AsciiDown(U'2');  // off, full service
      session.scheduler().advanceBy(kMinute / 2);
    }
    benchmark::DoNotOptimize(session.train().distanceRun);
  }
  state.counters["ratio"] =
      benchmark::Counter(600.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TenMinuteDrive)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel
