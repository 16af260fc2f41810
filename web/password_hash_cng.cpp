// The password's hash on Windows: PBKDF2 with HMAC-SHA-256 from the system's CNG, a random
// salt of 16 bytes, stored as "$pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>".
#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <stdexcept>
#include <vector>

#include "web/password_hash.h"

namespace vesk {
namespace {

constexpr ULONGLONG kIterations = 600000;
constexpr ULONG kSaltBytes = 16;
constexpr ULONG kHashBytes = 32;
constexpr char kPrefix[] = "$pbkdf2-sha256$";

bool Succeeded(NTSTATUS status) {
  return status >= 0;
}

std::vector<unsigned char> RandomBytes(ULONG count) {
  std::vector<unsigned char> bytes(count);
  if (!Succeeded(BCryptGenRandom(nullptr, bytes.data(), count, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    throw std::runtime_error("the system's random generator failed");
  }
  return bytes;
}

std::string Hex(const std::vector<unsigned char>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const unsigned char b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::vector<unsigned char> FromHex(const std::string& text) {
  std::vector<unsigned char> bytes;
  const auto digit = [](char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
  };
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    const int high = digit(text[i]);
    const int low = digit(text[i + 1]);
    if (high < 0 || low < 0) {
      return {};
    }
    bytes.push_back(static_cast<unsigned char>(high * 16 + low));
  }
  return bytes;
}

std::vector<unsigned char> Derive(std::string_view password, std::vector<unsigned char> salt,
                                  ULONGLONG iterations) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                             BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
    throw std::runtime_error("the system's SHA-256 is not available");
  }
  std::vector<unsigned char> hash(kHashBytes);
  std::string secret(password);
  const NTSTATUS status = BCryptDeriveKeyPBKDF2(
      algorithm, reinterpret_cast<PUCHAR>(secret.data()), static_cast<ULONG>(secret.size()),
      salt.data(), static_cast<ULONG>(salt.size()), iterations, hash.data(), kHashBytes, 0);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!Succeeded(status)) {
    throw std::runtime_error("the system could not hash the password");
  }
  return hash;
}

}  // namespace

std::string HashPassword(std::string_view password) {
  const std::vector<unsigned char> salt = RandomBytes(kSaltBytes);
  return std::string(kPrefix) + std::to_string(kIterations) + "$" + Hex(salt) + "$" +
         Hex(Derive(password, salt, kIterations));
}

bool VerifyPassword(const std::string& stored, std::string_view password) {
  if (stored.rfind(kPrefix, 0) != 0) {
    return false;
  }
  const std::size_t first = sizeof kPrefix - 1;
  const std::size_t second = stored.find('$', first);
  const std::size_t third = second == std::string::npos ? second : stored.find('$', second + 1);
  if (third == std::string::npos) {
    return false;
  }
  const std::string count = stored.substr(first, second - first);
  if (count.empty() || count.size() > 9 || count.find_first_not_of("0123456789") != count.npos) {
    return false;
  }
  const auto salt = FromHex(stored.substr(second + 1, third - second - 1));
  const auto expected = FromHex(stored.substr(third + 1));
  if (salt.empty() || expected.size() != kHashBytes) {
    return false;
  }
  const auto hash = Derive(password, salt, std::stoull(count));
  // Every byte compared, whatever the first difference.
  unsigned char difference = 0;
  for (std::size_t i = 0; i < kHashBytes; ++i) {
    difference |= static_cast<unsigned char>(hash[i] ^ expected[i]);
  }
  return difference == 0;
}

std::string RandomToken() {
  return Hex(RandomBytes(32));
}

}  // namespace vesk
