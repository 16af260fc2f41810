#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// A space, then the 16 bits in four groups of four (20 characters): the pressure word.
std::string BinaryDigits16(std::uint16_t word);

// Ten spaces, then bits 15 to 4 (the 12-bit count) in three groups of four (24 characters):
// every other word, so that their digits line up under the pressure word's.
std::string BinaryDigits12(std::uint16_t word);

}  // namespace vesk
