#include "tools/author/movie_facts.h"

#include <cmath>
#include <memory>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

#include "tools/author/author_error.h"

namespace kestrel::author {

MovieFacts readMovieFacts(const std::filesystem::path& path) {
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
    throw AuthorError(path.string() + ": the movie cannot be opened");
  std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> format(raw, [](AVFormatContext* f) {
    avformat_close_input(&f);
  });
  if (avformat_find_stream_info(format.get(), nullptr) < 0)
    throw AuthorError(path.string() + ": the movie's streams cannot be read");
  const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) throw AuthorError(path.string() + ": the movie has no video stream");
  const AVStream* stream = format->streams[index];
  AVRational rate = stream->avg_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) rate = stream->r_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) throw AuthorError(path.string() + ": the movie's frame rate is unknown");
  MovieFacts facts;
  facts.fps = av_q2d(rate);
  facts.frames = stream->nb_frames;
  if (facts.frames <= 0 && stream->duration > 0)
    facts.frames = static_cast<int64_t>(std::llround(static_cast<double>(stream->duration) * av_q2d(stream->time_base) *
                                                     facts.fps));
  if (facts.frames <= 0) throw AuthorError(path.string() + ": the movie's frame count is unknown");
  return facts;
}

}  // namespace kestrel::author
