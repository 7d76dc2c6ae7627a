#pragma once
// Loading a vehicle file into VehicleParams and PanelLayout: one reading loop over the vehicle
// keys, then the cab panel keys, [Others] last. Every fault ends the load with
// "車両ファイルに誤りがあります" followed by the section label in force.
#include <filesystem>
#include <span>
#include <string_view>

#include "core/data/key_loop.h"
#include "core/data/load_faults.h"
#include "core/data/panel_layout.h"
#include "core/data/section_reader.h"
#include "core/data/vehicle_params.h"

namespace kestrel {

inline constexpr std::string_view kVehicleFileFault = "車両ファイルに誤りがあります";
inline constexpr std::string_view kVehicleBaseLabel = "- 列車の基本設定";
inline constexpr std::string_view kNotchOnDiesel = "動力が気動車なのにNotch指定があります";
inline constexpr std::string_view kEngineOnElectric = "動力が電車なのにEngine指定があります";
inline constexpr std::string_view kTooFewBrakeSteps = "ブレーキの段数を3段以上に設定してください";

struct VehicleContext {
  SectionReader& r;
  VehicleParams& v;
  PanelLayout& p;
};

// The panel keys in their order, [Others] last (panel_loader.cpp).
std::span<const KeyRule<VehicleContext>> panelKeyRules();

// Throws FatalError with the vehicle-file message or a consistency message. With `collect`, every
// fault goes there instead and the load goes on (load_faults.h).
void loadVehicle(SectionReader& reader, VehicleParams& vehicle, PanelLayout& panel, FaultLog* collect = nullptr);
void loadVehicleFile(const std::filesystem::path& path, VehicleParams& vehicle, PanelLayout& panel,
                     FaultLog* collect = nullptr);

// The check made when the cab window is created: a notched brake ([BrakeType] 1 or 2) needs at
// least 3 brake positions. Throws FatalError(kTooFewBrakeSteps).
void checkBrakeSteps(const VehicleParams& vehicle);

}  // namespace kestrel
