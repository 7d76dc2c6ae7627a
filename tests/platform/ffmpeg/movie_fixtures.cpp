#include "movie_fixtures.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <utility>

extern "C" {
#include <libavformat/avformat.h>
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

namespace {

// framemd5 lines: stream, dts, pts, duration, size, hash.
std::vector<std::pair<long long, std::string>> frameMd5Lines(const std::filesystem::path& movie) {
  const auto list = sharedDir() / (movie.filename().string() + "-" +
                                   hexHash(std::to_string(std::filesystem::file_size(movie))) + ".framemd5");
  const std::string command = "ffmpeg -nostdin -v fatal -y -i '" + movie.string() +
                              "' -map 0:v:0 -fps_mode passthrough -pix_fmt bgra -f framemd5";
  std::vector<std::pair<long long, std::string>> lines;
  if (!makeOnce(list, command)) return lines;
  std::ifstream in(list);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string stream, dts, pts, duration, size, md5;
    if (!std::getline(fields, stream, ',') || !std::getline(fields, dts, ',') ||
        !std::getline(fields, pts, ',') || !std::getline(fields, duration, ',') ||
        !std::getline(fields, size, ',') || !std::getline(fields, md5)) {
      continue;
    }
    md5.erase(0, md5.find_first_not_of(' '));
    lines.emplace_back(std::stoll(pts), md5);
  }
  return lines;
}

}  // namespace

std::vector<std::string> referenceFrameMd5s(const std::filesystem::path& movie) {
  std::vector<std::string> md5s;
  for (auto& [pts, md5] : frameMd5Lines(movie)) md5s.push_back(md5);
  return md5s;
}

std::map<long long, std::string> referenceFrameMd5sByPts(const std::filesystem::path& movie) {
  std::map<long long, std::string> md5s;
  for (auto& [pts, md5] : frameMd5Lines(movie)) md5s[pts] = md5;
  return md5s;
}

bool damagePackets(const std::filesystem::path& movie, const std::filesystem::path& out, int first, int last) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, movie.c_str(), nullptr, nullptr) < 0) return false;
  std::vector<std::pair<int64_t, int>> places;  // where each packet's data lies, and its size
  const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  AVPacket* packet = av_packet_alloc();
  for (int i = 0; stream >= 0 && av_read_frame(format, packet) >= 0; av_packet_unref(packet)) {
    if (packet->stream_index != stream) continue;
    if (i >= first && i <= last) places.emplace_back(packet->pos, packet->size);
    ++i;
  }
  av_packet_free(&packet);
  avformat_close_input(&format);
  std::ifstream in(movie, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  for (auto [pos, size] : places) {
    // The middle half of the data, whether pos names the chunk's header or its data.
    for (int64_t b = pos + 8 + size / 4; b < pos + 8 + size * 3 / 4 && b < static_cast<int64_t>(bytes.size()); ++b)
      bytes[static_cast<size_t>(b)] = static_cast<char>(bytes[static_cast<size_t>(b)] ^ 0x5A);
  }
  std::ofstream(out, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return !places.empty();
}

std::string md5Of(const Picture& picture) {
  uint8_t digest[16];
  av_md5_sum(digest, reinterpret_cast<const uint8_t*>(picture.pixels.data()), picture.pixels.size() * 4);
  char text[33];
  for (int i = 0; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02x", digest[i]);
  return text;
}

}  // namespace kestrel::test
