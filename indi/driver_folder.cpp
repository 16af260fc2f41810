#include "indi/driver_folder.h"

#include <cstdlib>

namespace vesk::indi {

std::filesystem::path DefaultDriverFolder() {
  if (const char* config = std::getenv("INDICONFIG"); config != nullptr && *config != '\0') {
    return std::filesystem::path(config).parent_path() / "vesk";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : ".") / ".indi" / "vesk";
}

}  // namespace vesk::indi
