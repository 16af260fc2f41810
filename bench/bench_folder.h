#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vesk::bench {

// A new folder under the temporary folder for one run's files, named from the prefix; the run
// ends at once when none can be made.
inline std::filesystem::path MakeRunFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::abort();
  }
  return pattern;
}

}  // namespace vesk::bench
