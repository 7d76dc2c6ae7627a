#pragma once
// The loaded records of a cab session as one JSON document (kestrel-run --check --json). Keys are
// the data files' keys without brackets; fixed-point values are written as decimals.
#include <nlohmann/json.hpp>

#include "core/front/session_loader.h"

namespace kestrel::run {

nlohmann::ordered_json settingsJson(const SettingsData& s);
nlohmann::ordered_json vehicleJson(const VehicleParams& v);
nlohmann::ordered_json panelJson(const PanelLayout& p);
nlohmann::ordered_json lineJson(const LineData& l);
nlohmann::ordered_json picturesJson(const PictureCatalog& c);
nlohmann::ordered_json sessionJson(const LoadedSession& session);

}  // namespace kestrel::run
