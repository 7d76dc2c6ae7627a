#pragma once
// Where the programs find their content directory (railvane.dat, lines, trains, pictures, sounds,
// movies). Every program resolves it through locateContent, from values its caller gathered, so
// that the search is the same everywhere and testable without the real environment.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

inline constexpr std::string_view kMisplacedProgram = "実行ファイルが正しい場所に配置されていません";

// The installed content, relative to the folder of the executable (bin/ and share/ of one prefix).
inline constexpr std::string_view kInstalledContentFromExecutable = "../share/kestrel";

// The parts of a process's environment that the search reads. Empty means unset.
struct ContentEnvironment {
  std::string kestrelData;                    // $KESTREL_DATA
  std::string xdgDataHome;                    // $XDG_DATA_HOME
  std::string home;                           // $HOME
  std::filesystem::path executableDirectory;  // the folder of the running program
  std::filesystem::path workingDirectory;     // absolute
};

struct ContentCandidate {
  std::filesystem::path directory;
  std::string origin;  // why it was looked at: "--data", "$KESTREL_DATA", "the working directory" ...
};

struct ContentLocation {
  std::optional<std::filesystem::path> directory;  // the first candidate that holds railvane.dat
  std::vector<ContentCandidate> searched;          // the candidates looked at, in order
  bool fromOption = false;                         // --data named the one folder to use
};

// The user's data folder: $XDG_DATA_HOME/kestrel, or ~/.local/share/kestrel when XDG_DATA_HOME is
// unset or not absolute; nullopt without either.
std::optional<std::filesystem::path> userDataFolder(const ContentEnvironment& env);

// With --data (dataOption not empty) that folder alone. Otherwise, in this order: $KESTREL_DATA,
// the user's data folder ($XDG_DATA_HOME/kestrel, or ~/.local/share/kestrel when XDG_DATA_HOME is
// unset or not absolute), the installed content next to the executable, the working directory.
// Relative folders are taken from the working directory.
ContentLocation locateContent(const std::filesystem::path& dataOption, const ContentEnvironment& env);

// For stderr when $KESTREL_DATA was set but another folder was used, since it holds no
// railvane.dat: a user who set it should not be left wondering which content runs. Else empty.
std::string skippedVariableNote(const ContentLocation& location);

// For stderr when nothing was found without --data: every folder searched, one a line, with why.
// Empty after a --data search, whose message stays exactly kMisplacedProgram.
std::string searchedFoldersReport(const ContentLocation& location);

}  // namespace kestrel
