#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_array.h"

namespace vesk {

constexpr std::uint8_t kRequestStart = 0x1D;
constexpr std::uint8_t kReplyStart = 0x1F;
// The reply buffer holds 30 bytes: a length byte of at most 28, a payload of at most 27.
constexpr std::size_t kReplyBufferSize = 30;
constexpr std::uint8_t kMaxReplyLength = 28;
constexpr std::size_t kMaxOrderLength = 254;

// The low 8 bits of the sum of the first count bytes.
std::uint8_t ComputeChecksum(const std::uint8_t* bytes, std::size_t count);

// 1D, n + 1, the order bytes, checksum. An order of more than 254 bytes (or none) raises
// "Range check error".
TArrayByte BuildRequestFrame(const TArrayByte& order);

// 1F, n + 1, the payload bytes, checksum: what a board sends back.
TArrayByte BuildReplyFrame(const TArrayByte& payload);

}  // namespace vesk
