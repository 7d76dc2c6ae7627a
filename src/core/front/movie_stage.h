#pragma once
// The session loader's route-movie stage (SessionStages::openMovie): opens the main movie,
// [Path] + [DataName] + ".avi" under the program directory, on the drive's movie reader. A movie
// that cannot be opened does not stop the drive: its name followed by "映像ファイルを開けません"
// goes to `message` (the caller shows it) and to the session's warnings, and the drive runs
// without pictures.
#include <functional>
#include <string>

#include "core/front/session_loader.h"
#include "core/ports/movie_reader.h"

namespace kestrel {

std::function<void(LoadedSession&)> openRouteMovieStage(MovieReader& reader, std::string* message = nullptr);

}  // namespace kestrel
