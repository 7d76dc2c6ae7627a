#pragma once
// Loading a line file into LineData. The image-list sections and [Monitor] load their pictures
// at once into the PictureCatalog. Any fault ends the load with "路線ファイルに誤りがあります。",
// the section label in force, ":" and the line read last; an image-list line that fails gives
// its own message. Distances are derived later (line_distances.h), once all files are read.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/data/line_data.h"
#include "core/data/load_faults.h"
#include "core/data/picture_catalog.h"
#include "core/data/section_reader.h"
#include "core/ports/picture_loader.h"

namespace kestrel {

inline constexpr std::string_view kLineFileFault = "路線ファイルに誤りがあります。";
inline constexpr std::string_view kLineBaseLabel = "その他";

inline constexpr std::array<std::string_view, 8> kSignImageFaults = {
    "停目の生成エラー",   "停止線Sの生成エラー", "停止線Mの生成エラー",      "停止線Eの生成エラー",
    "勾配標の生成エラー", "制限標の生成エラー",  "残り距離表示の生成エラー", "その他標識の生成エラー"};
inline constexpr std::array<std::string_view, 4> kSignalImageFaults = {
    "信号機の生成エラー", "サブ信号機0の生成エラー", "サブ信号機1の生成エラー", "サブ信号機2の生成エラー"};
// A panel, monitor or other picture that cannot be loaded: the file name followed by this.
inline constexpr std::string_view kPictureFault = "の生成エラー";

// What the line file needs from the rest of the session.
struct LineLoadContext {
  std::filesystem::path programDirectory;  // line pictures are relative to it
  std::string vehicleFileName;             // [Monitor] applies only to this vehicle file
  int32_t displayWidth = 0;                // W and H of the cab drawing surface ([Disp])
  int32_t movieHeight = 0;
  PictureLoader& pictures;
};

// The rows of a [SpeedUnit] table, the key line read, up to its '#' line, appended to `rows`
// (start frame, end frame, filming speed at each; a row faults as SectionFault). Also the value
// display's reload of the table.
void readSpeedUnitRows(SectionReader& reader, std::vector<SpeedUnitRow>& rows);

// With `collect`, every fault goes there instead and the load goes on (load_faults.h).
void loadLine(SectionReader& reader, const LineLoadContext& context, LineData& line, PictureCatalog& catalog,
              FaultLog* collect = nullptr);
void loadLineFile(const std::filesystem::path& path, const LineLoadContext& context, LineData& line,
                  PictureCatalog& catalog, FaultLog* collect = nullptr);

}  // namespace kestrel
