#pragma once
// The files of a content folder that kestrel-check looks at: the line and vehicle files (told
// apart by their keys, since any name may be picked in the title menu) and the pictures and
// sounds, to find those that nothing names.
#include <filesystem>
#include <string>
#include <vector>

namespace kestrel::check {

struct DataFiles {
  std::vector<std::string> lines;              // in the folder itself, by name
  std::vector<std::filesystem::path> trains;   // relative to the folder (trains may sit in folders)
};

// Every .dat file of the folder and its subfolders, but the settings files and the help text.
DataFiles findDataFiles(const std::filesystem::path& folder);

// Every picture (.bmp, .jpg, .jpeg, .png) and wave file of the folder and its subfolders, but the
// title window's own (image/title and the title sounds).
std::vector<std::filesystem::path> findMediaFiles(const std::filesystem::path& folder);

}  // namespace kestrel::check
