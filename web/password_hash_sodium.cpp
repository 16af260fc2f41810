#include <sodium.h>

#include <stdexcept>

#include "web/password_hash.h"

namespace vesk {
namespace {

void Ready() {
  if (sodium_init() < 0) {
    throw std::runtime_error("libsodium cannot start");
  }
}

}  // namespace

std::string HashPassword(std::string_view password) {
  Ready();
  char stored[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(stored, password.data(), password.size(),
                        crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    throw std::runtime_error("not enough memory to hash the password");
  }
  return stored;
}

bool VerifyPassword(const std::string& stored, std::string_view password) {
  Ready();
  return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

std::string RandomToken() {
  Ready();
  unsigned char bytes[32];
  randombytes_buf(bytes, sizeof bytes);
  char hex[sizeof bytes * 2 + 1];
  sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
  return hex;
}

}  // namespace vesk
