#pragma once

#include <cstdint>

#include "common/byte_array.h"

namespace vesk::sim {

// Multi-byte values of the board are big-endian.
inline void PutWord(TArrayByte& out, std::uint16_t word) {
  out.push_back(static_cast<std::uint8_t>(word >> 8));
  out.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

}  // namespace vesk::sim
