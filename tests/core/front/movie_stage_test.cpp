// The loader's route-movie stage: the main movie opened on the drive's reader, or its name with
// "映像ファイルを開けません" and a drive that goes on.
#include "core/front/movie_stage.h"

#include <gtest/gtest.h>

#include "core/ports/memory_preference_store.h"
#include "support/fake_movie.h"
#include "support/fake_picture_loader.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

LoadedSession load(MovieReader& reader, std::string& message) {
  MemoryPreferenceStore store;
  test::FakePictureLoader pictures;
  SessionStages stages;
  stages.openMovie = openRouteMovieStage(reader, &message);
  return loadSession(
      {test::sourceDir() / "tests/fixtures/content", "line_local.dat", "", "train_313-1000_10cars.dat"},
      {store, pictures}, nullptr, stages);
}

TEST(MovieStage, TheMainMovieIsPathDataNameAvi) {
  test::MovieLog log;
  test::FakeMovieReader reader(log);
  reader.files = {{"local.avi", 500}};
  std::string message = "left over";
  const LoadedSession s = load(reader, message);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"open local.avi"}));
  EXPECT_TRUE(reader.isOpen());
  EXPECT_EQ(message, "");
  EXPECT_EQ(mainMovieName(s.settings, s.line), "movie\\local.avi");
}

TEST(MovieStage, AMovieThatDoesNotOpenIsReportedAndTheLoadGoesOn) {
  test::MovieLog log;
  test::FakeMovieReader reader(log);
  std::string message;
  const LoadedSession s = load(reader, message);
  EXPECT_EQ(message, "movie\\local.avi映像ファイルを開けません");
  EXPECT_NE(std::find(s.warnings.begin(), s.warnings.end(), message), s.warnings.end());
  EXPECT_FALSE(s.line.Station.empty());  // loaded to the end
}

}  // namespace
}  // namespace kestrel
