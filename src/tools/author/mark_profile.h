#pragma once
// Distances from marks for footage without GPS: a CSV of "frame,kilometre" rows (kilometre posts
// or other places of known kilometrage seen in the movie), joined by a monotone cubic
// (Fritsch-Carlson), which never runs backwards between marks and keeps the speed smooth.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrel::author {

struct Mark {
  double frame = 0;
  double kilometre = 0;
  int32_t line = 0;
};

// Blank lines and lines starting with '#' are passed over, and a first line of words (a header).
// Throws AuthorError naming FILE:LINE: a row that is not two numbers, frames that do not increase,
// kilometres that turn back, fewer than two marks.
std::vector<Mark> readMarks(const std::filesystem::path& path);
std::vector<Mark> parseMarks(const std::string& text, const std::string& fileName);

// The distance of frames 0 .. frames - 1 from frame 0, in centimetres. Throws AuthorError when the
// marks do not span the movie, saying which frames lie outside them.
std::vector<double> markDistancesCm(const std::vector<Mark>& marks, int64_t frames, const std::string& fileName);

}  // namespace kestrel::author
