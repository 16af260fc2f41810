#pragma once

#include <algorithm>
#include <filesystem>
#include <string>

namespace vesk::test {

// A Linux path as the Windows program sees it: Wine's drive Z: is the root, with backslashes.
inline std::string OnDriveZ(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// Windows console text ends its lines with CR LF.
inline std::string WithoutCr(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

}  // namespace vesk::test
