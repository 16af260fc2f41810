#pragma once

#include <filesystem>
#include <string>

namespace vesk::test {

// A fresh folder on the real disk, removed with everything in it when the test ends.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& file);
// The file made or replaced with exactly these bytes.
void WriteFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace vesk::test
