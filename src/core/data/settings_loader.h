#pragma once
// Loading SettingsData: the preferences and the controller code table from the preference
// store, the serial command table mascon.dat and the settings file railvane.dat.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/load_faults.h"
#include "core/data/section_reader.h"
#include "core/data/settings_data.h"
#include "core/ports/preference_store.h"

namespace kestrel {

inline constexpr char kPreferenceKeyPath[] = "Software\\Railvane\\kestrel";
inline constexpr char kControllerKeyPath[] = "Software\\Railvane\\dgcontroller";

inline constexpr std::string_view kStringFileFault = "stringファイルに誤りがあります";
// A missing or faulty mascon.dat has messages of its own, which name the file for the user
// rather than surfacing an I/O error.
inline constexpr std::string_view kMasconMissing = "mascon.datを開けません";
inline constexpr std::string_view kMasconFaulty = "mascon.datに誤りがあります";

// "Kanko", "Information", "ATS", "Tunnel", "Moji" in this order. When any read fails all five take
// their defaults (0, 1, 0, 0, 0), those already read included. When the key cannot be opened the
// values are left as they are.
void readPreferences(PreferenceStore& store, Preferences& preferences);
// Writes the five values back; failures are ignored, as when the cab window closes.
void writePreferences(PreferenceStore& store, const Preferences& preferences);

// "P0".."P5", "B0".."B8", "EB" in this order; the first failing read stops the sequence and the
// values read so far are kept. There are no defaults.
void readControllerCodes(PreferenceStore& store, ControllerCodes& codes);
// Writes all sixteen codes (a replayed drive's store); failures are ignored.
void writeControllerCodes(PreferenceStore& store, const ControllerCodes& codes);

// The lines of mascon.dat up to the end of the file or a line starting with '#' (not stored).
// Throws FatalError (kMasconMissing, kMasconFaulty); with `collect`, the faults go there instead
// (a malformed line is left out, the lines beyond the capacity too).
std::vector<std::string> loadMascon(const std::filesystem::path& path, FaultLog* collect = nullptr);
std::vector<std::string> parseMascon(std::string_view cp932Bytes, FaultLog* collect = nullptr,
                                     const std::filesystem::path& path = {});

// railvane.dat into `settings` (preferences, controller and mascon untouched). Throws FatalError
// with kStringFileFault on any fault, a missing file included; with `collect`, every fault goes
// there instead and the load goes on.
void loadRailvane(SectionReader& reader, SettingsData& settings, FaultLog* collect = nullptr);
void loadRailvaneFile(const std::filesystem::path& path, SettingsData& settings, FaultLog* collect = nullptr);

}  // namespace kestrel
