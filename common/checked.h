#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <utility>

#include "common/exceptions.h"

namespace vesk {

// Narrowing that refuses to truncate: a value outside the target's range raises
// "Range check error", which several input checks rely on.
template <std::integral To, std::integral From>
To CheckedNarrow(From value) {
  if (!std::in_range<To>(value)) {
    throw ERangeCheck();
  }
  return static_cast<To>(value);
}

inline std::uint8_t ToByte(long long value) {
  return CheckedNarrow<std::uint8_t>(value);
}
inline std::uint16_t ToWord(long long value) {
  return CheckedNarrow<std::uint16_t>(value);
}
inline std::uint32_t ToCardinal(long long value) {
  return CheckedNarrow<std::uint32_t>(value);
}

}  // namespace vesk
