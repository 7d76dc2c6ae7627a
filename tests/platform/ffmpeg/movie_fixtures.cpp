#include "movie_fixtures.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

extern "C" {
#include <libavutil/md5.h>
}

#include "support/test_paths.h"

namespace kestrel::test {

namespace {

std::filesystem::path sharedDir() {
  auto dir = binaryDir() / "test-scratch" / "ffmpeg-movies";
  std::filesystem::create_directories(dir);
  return dir;
}

std::string hexHash(const std::string& s) {
  std::ostringstream out;
  out << std::hex << std::hash<std::string>{}(s);
  return out.str();
}

// Makes `target` with `command` (which writes to the path in its last word) unless it exists.
bool makeOnce(const std::filesystem::path& target, const std::string& commandWithoutOutput) {
  if (std::filesystem::exists(target)) return true;
  auto temporary = target;
  temporary.replace_filename(".tmp-" + std::to_string(getpid()) + "-" + target.filename().string());
  const std::string command = commandWithoutOutput + " '" + temporary.string() + "'";
  if (std::system(command.c_str()) != 0) return false;
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  return !error;
}

}  // namespace

std::filesystem::path makeMovie(const std::string& name, const std::string& arguments) {
  const auto ext = std::filesystem::path(name).extension().string();
  const auto stem = std::filesystem::path(name).stem().string();
  const auto target = sharedDir() / (stem + "-" + hexHash(arguments) + ext);
  const std::string command = "ffmpeg -nostdin -v error -y " + arguments;
  return makeOnce(target, command) ? target : std::filesystem::path{};
}

std::vector<std::string> referenceFrameMd5s(const std::filesystem::path& movie) {
  const auto list = sharedDir() / (movie.filename().string() + "-" +
                                   hexHash(std::to_string(std::filesystem::file_size(movie))) + ".framemd5");
  const std::string command = "ffmpeg -nostdin -v fatal -y -i '" + movie.string() +
                              "' -map 0:v:0 -fps_mode passthrough -pix_fmt bgra -f framemd5";
  std::vector<std::string> md5s;
  if (!makeOnce(list, command)) return md5s;
  std::ifstream in(list);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const auto comma = line.rfind(',');
    if (comma == std::string::npos) continue;
    auto md5 = line.substr(comma + 1);
    md5.erase(0, md5.find_first_not_of(' '));
    md5s.push_back(md5);
  }
  return md5s;
}

std::string md5Of(const Picture& picture) {
  uint8_t digest[16];
  av_md5_sum(digest, reinterpret_cast<const uint8_t*>(picture.pixels.data()), picture.pixels.size() * 4);
  char text[33];
  for (int i = 0; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02x", digest[i]);
  return text;
}

}  // namespace kestrel::test
