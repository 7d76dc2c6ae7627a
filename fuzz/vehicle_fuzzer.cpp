// Feeds bytes to the vehicle file reader, then checks the brake steps and registers the panel.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/data/panel_pictures.h"
#include "core/data/vehicle_loader.h"
#include "core/util/fatal_error.h"
#include "fuzz_picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kestrel::VehicleParams vehicle;
  kestrel::PanelLayout panel;
  kestrel::PictureCatalog catalog;
  kestrel::fuzz::FuzzPictureLoader pictures;
  try {
    auto reader = kestrel::SectionReader::fromBytes(bytes);
    kestrel::loadVehicle(reader, vehicle, panel);
    kestrel::checkBrakeSteps(vehicle);
    kestrel::registerPanelPictures(panel, "/fuzz", pictures, catalog);
  } catch (const kestrel::FatalError&) {
  }
  return 0;
}
