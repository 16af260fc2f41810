#include "integrations/unique_id.h"

#include <cstdint>

#include "common/number_text.h"

namespace vesk {
namespace {

// FNV-1a, 64 bits, from a chosen starting value.
std::uint64_t Fnv1a(std::string_view text, std::uint64_t hash) {
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ULL;
  }
  return hash;
}

}  // namespace

std::string StableUuid(std::string_view text) {
  const std::uint64_t high = Fnv1a(text, 0xCBF29CE484222325ULL);
  std::uint64_t low = Fnv1a(text, high ^ 0x9E3779B97F4A7C15ULL);
  // Version 8 in the top of the third group, variant 10 in the top of the fourth.
  const auto timeHigh = static_cast<unsigned>(((high & 0x0FFF) | 0x8000) & 0xFFFF);
  low = (low & 0x3FFFFFFFFFFFFFFFULL) | 0x8000000000000000ULL;
  return FormatText("%08x-%04x-%04x-%04x-%012llx", static_cast<unsigned>(high >> 32),
                    static_cast<unsigned>((high >> 16) & 0xFFFF), timeHigh,
                    static_cast<unsigned>(low >> 48),
                    static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
}

}  // namespace vesk
