// Feeds bytes to the cab panel keys of a vehicle file: what they describe is put on the fixture
// train in place of its own panel, and the panel's rules and render step run on it — the needles
// over their whole range, the pattern images, the clock face — while the train drives off and
// brakes to a stop. The first bytes choose the values the needles are tried with.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "core/data/panel_pictures.h"
#include "core/data/vehicle_loader.h"
#include "core/present/cab_display.h"
#include "core/present/needle_rules.h"
#include "core/util/fatal_error.h"
#include "fuzz_drive.h"
#include "fuzz_picture_loader.h"

namespace {

using namespace kestrel;

class FuzzTextMetrics final : public TextMetrics {
 public:
  TextExtent measure(std::string_view text, int32_t pointSize) const override {
    return {static_cast<int32_t>(text.size()) * (pointSize / 2), pointSize};
  }
};

// The rules that take a value to a needle angle or a gauge position, at the value given and at
// the ends of what the drive can show.
void tryNeedles(const PanelLayout& p, FuzzedDataProvider& in) {
  const double v = in.ConsumeFloatingPointInRange(-400.0, 400.0);
  const int64_t raw = in.ConsumeIntegralInRange<int64_t>(-100'000'000'000, 100'000'000'000);
  const int32_t current = in.ConsumeIntegralInRange<int32_t>(-1000000, 1000000);
  for (const double speed : {v, 0.0, 9.999, 10.0, 159.999, -1.0})
    (void)needles::speedAngle(p.Needle_Speed, speed);
  for (const NeedleSection* n : {&p.Needle_BC, &p.Needle_SAP, &p.Needle_ER, &p.Needle_MR, &p.Needle_V}) {
    (void)needles::fixedAngle(*n, raw);
    (void)needles::decimalAngle(*n, v);
  }
  for (const int32_t reverser : {-1, 0, 1}) (void)needles::ammeterAngle(p.Needle_I, current, reverser);
  (void)needles::ammeterStep(current, -current / 2);
  (void)needles::linearY(p.Needle_BC_L, raw);
  (void)needles::linearY(p.Needle_MR_L, raw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string needleValues = in.ConsumeBytesAsString(20);
  const std::string panelText = in.ConsumeRemainingBytesAsString();

  static LoadedSession loaded = fuzz::fixtureSession();
  const LoadedSession& fixture = fuzz::fixtureSession();
  VehicleParams scratch;
  loaded.panel = PanelLayout{};
  loaded.pictures = fixture.pictures;
  fuzz::FuzzPictureLoader pictures;
  try {
    auto reader = SectionReader::fromBytes(panelText);
    loadVehicle(reader, scratch, loaded.panel);
    registerPanelPictures(loaded.panel, "/fuzz", pictures, loaded.pictures);
  } catch (const FatalError&) {
    return 0;
  }
  FuzzedDataProvider values(reinterpret_cast<const uint8_t*>(needleValues.data()), needleValues.size());
  tryNeedles(loaded.panel, values);

  fuzz::FuzzDrive drive(&loaded);
  FuzzTextMetrics metrics;
  CabDisplay display(drive.session->context(), loaded.settings.preferences, nullptr,
                     &drive.session->moviePlayback(), fixture.choice.vehicleFileName, metrics);
  int64_t ms = 0;
  const auto driveFor = [&](int ticks) {
    for (int i = 0; i < ticks; ++i) {
      drive.run(100000);
      display.step(ms += 100, drive.session->running());
    }
  };
  for (const char32_t key : {U'f', U'5', U'8', U'8', U'8', U'8'}) drive.session->AsciiDown(key);
  driveFor(100);
  drive.session->AsciiDown(U'0');
  driveFor(50);
  return 0;
}
