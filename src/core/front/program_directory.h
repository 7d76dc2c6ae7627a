#pragma once
// The start-up check of the program directory: without railvane.dat in it the program cannot run.
#include <filesystem>
#include <string_view>

#include "core/util/fatal_error.h"
#include "core/util/path_lookup.h"

namespace kestrel {

inline constexpr std::string_view kMisplacedProgram = "実行ファイルが正しい場所に配置されていません";

// Throws FatalError(kMisplacedProgram) when the directory holds no railvane.dat.
inline void checkProgramDirectory(const std::filesystem::path& programDirectory) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(resolveDataPath(programDirectory, "railvane.dat"), ec))
    throw FatalError(std::string(kMisplacedProgram));
}

}  // namespace kestrel
