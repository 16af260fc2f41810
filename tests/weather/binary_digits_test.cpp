#include "weather/binary_digits.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

struct DigitsCase {
  std::uint16_t word;
  const char* digits16;
  const char* digits12;
};

// The 12-bit form drops the low four bits and lines its digits up under the 16-bit form's.
constexpr DigitsCase kCases[] = {
    {0x55DC, " 0101 0101 1101 1100", "          0101 0101 1101"},
    {0x0000, " 0000 0000 0000 0000", "          0000 0000 0000"},
    {0xFFFF, " 1111 1111 1111 1111", "          1111 1111 1111"},
    {0x800F, " 1000 0000 0000 1111", "          1000 0000 0000"},
};

TEST(WeatherBinaryDigits, GroupsOfFourFromTheTopBit) {
  for (const DigitsCase& c : kCases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(BinaryDigits16(c.word), c.digits16);
    EXPECT_EQ(BinaryDigits12(c.word), c.digits12);
  }
}

}  // namespace
}  // namespace vesk
