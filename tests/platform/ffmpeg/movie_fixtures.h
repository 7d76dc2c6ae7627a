#pragma once
// Small movies made with the ffmpeg tool, and what the tool itself decodes from them.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/ports/picture.h"

namespace kestrel::test {

// Runs `ffmpeg <arguments> OUTPUT` once and returns OUTPUT, a file named after `name` and the
// arguments in a folder shared by the test processes (made under a temporary name, then renamed,
// so processes running side by side never see half a file). Empty path when the tool failed.
std::filesystem::path makeMovie(const std::string& name, const std::string& arguments);

// The MD5 of every frame the ffmpeg tool decodes from the file's video stream, converted to BGRA,
// in the order it shows them. Empty when the tool failed.
std::vector<std::string> referenceFrameMd5s(const std::filesystem::path& movie);

// The same by presentation timestamp, for files where that is the frame number.
std::map<long long, std::string> referenceFrameMd5sByPts(const std::filesystem::path& movie);

// A copy of `movie` at `out` whose video packets first .. last (in file order) have the middle of
// their data overwritten, as a damaged disk or download leaves them; the container stays intact.
// False when the movie cannot be read.
bool damagePackets(const std::filesystem::path& movie, const std::filesystem::path& out, int first, int last);

// The MD5 of the picture's pixels as bytes (BGRA on this machine), as the tool prints it.
std::string md5Of(const Picture& picture);

}  // namespace kestrel::test
