// The files and tokens of the password, alike on every system; the hash itself is in
// password_hash_sodium.cpp (Linux) or password_hash_cng.cpp (Windows).
#include "web/password_hash.h"

#include <fstream>
#include <iterator>

#include "common/durable_replace.h"

namespace vesk {

std::filesystem::path PasswordFile(const std::filesystem::path& folder) {
  return folder / "VeskWeb.hash";
}

std::optional<std::string> ReadPasswordHash(const std::filesystem::path& folder) {
  std::ifstream in(PasswordFile(folder), std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
    text.pop_back();
  }
  if (text.empty()) {
    return std::nullopt;
  }
  return text;
}

void WritePasswordHash(const std::filesystem::path& folder, const std::string& hash) {
  ReplaceFileContent(PasswordFile(folder), hash + "\n", true);
}

}  // namespace vesk
