#include "core/front/movie_stage.h"

#include "core/present/movie_playback.h"

namespace kestrel {

std::function<void(LoadedSession&)> openRouteMovieStage(MovieReader& reader, std::string* message) {
  return [&reader, message](LoadedSession& s) {
    if (message) message->clear();
    if (reader.open(mainMoviePath(s.choice.programDirectory, s.settings, s.line))) return;
    const std::string text = mainMovieName(s.settings, s.line) + std::string(kMovieOpenFailed);
    if (message) *message = text;
    s.warnings.push_back(text);
  };
}

}  // namespace kestrel
