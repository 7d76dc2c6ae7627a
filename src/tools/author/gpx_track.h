#pragma once
// A GPS track recorded while filming, read from a GPX file: every track point of every track and
// segment, in file order, with its place, its time and the line it stands on.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrel::author {

struct TrackPoint {
  double lat = 0, lon = 0;  // degrees, WGS84
  double time = 0;          // seconds since 1970-01-01 UTC
  int32_t line = 0;         // 1-based line of the GPX file
};

// Throws AuthorError, naming FILE:LINE where there is one: a file that cannot be read or does not
// parse as XML, a point without a valid lat/lon or without a time stamp (a track that has none at
// all says so), fewer than two points, times that go backwards. A point at the same time as the
// one before adds nothing and is passed over.
std::vector<TrackPoint> readGpx(const std::filesystem::path& path);
std::vector<TrackPoint> parseGpx(const std::string& text, const std::string& fileName);

}  // namespace kestrel::author
