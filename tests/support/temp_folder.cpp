#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vesk::test {

TempFolder::TempFolder() {
#ifdef _WIN32
  // No mkdtemp: a random name, made only when it is new.
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto path =
        std::filesystem::temp_directory_path() / ("vesk-test-" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(path, error)) {
      path_ = path;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
#else
  std::string pattern = (std::filesystem::temp_directory_path() / "vesk-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder");
  }
  path_ = pattern;
#endif
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace vesk::test
