#pragma once
// SessionChoice: what the title window hands to a new cab session.
#include <filesystem>
#include <string>
#include <utility>

namespace kestrel {

struct SessionChoice {
  // Prefix of every data file the loader opens except the vehicle file.
  std::filesystem::path programDirectory;
  // "line_exp.dat", "line_rapid.dat", "line_local.dat" or another line file in the program directory.
  std::string lineFileName;
  // Empty for the built-in trains; for a picked vehicle file, its folder. A relative folder is
  // taken relative to the program directory.
  std::filesystem::path vehicleDirectory;
  std::string vehicleFileName;

  // The folder that the vehicle file and its panel pictures are found in.
  std::filesystem::path vehicleFolder() const { return programDirectory / vehicleDirectory; }

  // A drive named on a command line: the content folder, a line file in it, and a vehicle file
  // relative to it (or absolute).
  static SessionChoice of(std::filesystem::path programDirectory, std::string lineFileName,
                          const std::filesystem::path& vehicle) {
    SessionChoice c;
    c.programDirectory = std::move(programDirectory);
    c.lineFileName = std::move(lineFileName);
    c.vehicleDirectory = vehicle.parent_path();
    c.vehicleFileName = vehicle.filename().string();
    return c;
  }
};

}  // namespace kestrel
