#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// The web page's password, kept only as a salted hash from a well-kept library: libsodium's
// crypto_pwhash (Argon2id) on Linux, the system's CNG (PBKDF2 with SHA-256) on Windows. The
// stored text carries its own salt and costs.
std::string HashPassword(std::string_view password);
bool VerifyPassword(const std::string& stored, std::string_view password);
// 32 random bytes from the system's generator, as 64 hexadecimal digits.
std::string RandomToken();

// "VeskWeb.hash" in the program folder; readable by its owner only.
std::filesystem::path PasswordFile(const std::filesystem::path& folder);
// The stored hash; none when no password was set.
std::optional<std::string> ReadPasswordHash(const std::filesystem::path& folder);
// Raises the file's failure.
void WritePasswordHash(const std::filesystem::path& folder, const std::string& hash);

}  // namespace vesk
