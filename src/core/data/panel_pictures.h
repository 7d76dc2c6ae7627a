#pragma once
// The cab panel pictures of PanelLayout and the [Staf] pictures of the line file, loaded after
// the line file and registered in the PictureCatalog with their sprites (names, drawing orders,
// transparency and initial state of the cab display). Absent sections (empty file names) get no
// picture and no sprite.
#include <filesystem>
#include <string_view>

#include "core/data/line_data.h"
#include "core/data/load_faults.h"
#include "core/data/panel_layout.h"
#include "core/data/picture_catalog.h"
#include "core/data/settings_data.h"
#include "core/ports/picture_loader.h"

namespace kestrel {

inline constexpr std::string_view kStafPictureMissing = "が見つかりません";

// Panel pictures resolve against the vehicle folder. A picture that cannot be loaded throws
// FatalError: the file name followed by "の生成エラー"; with `collect` the fault goes there and
// the other pictures load.
void registerPanelPictures(const PanelLayout& panel, const std::filesystem::path& vehicleDirectory,
                           PictureLoader& loader, PictureCatalog& catalog, const NamedFileFaults* collect = nullptr);

// [Staf] lines 1 and 3 (line 2 is loaded when the cab window is activated), against the program
// directory. A picture that cannot be loaded throws FatalError: its name followed by
// "が見つかりません" (with `collect`, the fault goes there). An empty line shows no picture.
void registerStafPictures(const LineData& line, const SettingsData& settings,
                          const std::filesystem::path& programDirectory, PictureLoader& loader,
                          PictureCatalog& catalog, const NamedFileFaults* collect = nullptr);

}  // namespace kestrel
