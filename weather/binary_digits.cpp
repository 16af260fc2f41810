#include "weather/binary_digits.h"

namespace vesk {
namespace {

// Bits `top` down to `bottom` of the word, a space before every group of four.
std::string Groups(std::uint16_t word, int top, int bottom) {
  std::string text;
  for (int bit = top; bit >= bottom; --bit) {
    if ((top - bit) % 4 == 0) {
      text += ' ';
    }
    text += (word >> bit) & 1 ? '1' : '0';
  }
  return text;
}

}  // namespace

std::string BinaryDigits16(std::uint16_t word) {
  return Groups(word, 15, 0);
}

std::string BinaryDigits12(std::uint16_t word) {
  return std::string(9, ' ') + Groups(word, 15, 4);
}

}  // namespace vesk
