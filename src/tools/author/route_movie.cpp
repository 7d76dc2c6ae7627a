#include "tools/author/route_movie.h"

#include "core/data/line_loader.h"
#include "core/data/settings_loader.h"
#include "core/present/movie_playback.h"
#include "core/util/path_lookup.h"
#include "tools/author/author_error.h"

namespace kestrel::author {

namespace {

// The line's pictures do not matter here.
class NoPictures final : public PictureLoader {
 public:
  std::optional<Picture> load(const std::filesystem::path&) override { return std::nullopt; }
};

}  // namespace

std::filesystem::path routeMovieOf(const std::filesystem::path& contentFolder, const std::string& lineFile) {
  FaultLog ignored;
  SettingsData settings;
  loadRailvaneFile(resolveDataPath(contentFolder, "railvane.dat"), settings, &ignored);
  NoPictures pictures;
  LineData line;
  PictureCatalog catalog;
  const auto path = resolveDataPath(contentFolder, lineFile);
  loadLineFile(path, {contentFolder, "", 800, 600, pictures}, line, catalog, &ignored);
  if (line.DataName.empty()) throw AuthorError(path.string() + ": the line names no route movie ([DataName])");
  return mainMoviePath(contentFolder, settings, line);
}

}  // namespace kestrel::author
