#pragma once
// "SU再読込" of the value display: the line file's [SpeedUnit] table read again during a drive,
// so that an author who edits the filming speeds sees the movie speed change at once. This is the
// one change a loaded record takes on purpose during a drive.
//
// The file (program directory + line file name) is scanned for lines that begin with
// "[SpeedUnit]"; each such section replaces the table with the rows that follow it up to a line
// beginning with '#' (start frame, end frame, filming speed at the start and at the end). A fault
// ends the reading and leaves what was read. A file that cannot be read, or a reading that leaves
// no row at all, keeps the table as it was: a drive cannot run on an empty table.
//
// What depends on the table is derived again as the loader derives it: the distance at the end of
// every row, the distances of the signals, limits, checks, stations, traffic signals, Doppler
// sources and tunnels, and the merged event list. The train keeps its frame and takes the distance
// of that frame in the new table, with the filming speed there; the stop target follows its
// station, and a standing ATS pattern follows its entry (or ends when the entry left the list).
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/front/session_loader.h"
#include "core/state/drive_context.h"

namespace kestrel {

struct SpeedUnitReload {
  bool opened = false;    // the line file could be read
  bool replaced = false;  // the table was replaced
  int32_t rows = 0;       // rows read
  // The line at which a fault ended the reading (its text); empty when the reading ran to the end.
  std::string stoppedAt;
};

// `line` is the record that `ctx` reads (the drive's own line).
SpeedUnitReload Button1Click(const std::filesystem::path& lineFile, LineData& line, DriveContext& ctx);
// The same for a loaded session: its line file in its program directory.
SpeedUnitReload Button1Click(LoadedSession& loaded, DriveContext& ctx);

// The memo's line about a reload.
std::string reloadReport(const SpeedUnitReload& reload);

}  // namespace kestrel
