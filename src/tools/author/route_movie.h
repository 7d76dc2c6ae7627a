#pragma once
// The route movie of a line of the content folder: the settings file's [Path], the line file's
// [DataName] and ".avi", as a drive opens it.
#include <filesystem>
#include <string>

namespace kestrel::author {

// Read with the loaders, their faults passed over (kestrel-check reports them). Throws
// AuthorError when the line names no movie.
std::filesystem::path routeMovieOf(const std::filesystem::path& contentFolder, const std::string& lineFile);

}  // namespace kestrel::author
