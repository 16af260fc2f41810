#pragma once

#include <cstdint>

namespace vesk {

// A count is a 14-bit reading of a 0 to 5 V input (16384 counts for 5 V).

// 0.5 V is 0 °C and each 10 mV one degree: count 0 is -50 °C.
double CountToCelsius(std::uint16_t count);
// Rounded halves to even; 32767 when the result is not a finite 64-bit integer.
std::int64_t CelsiusToCount(double celsius);

constexpr double kDefaultHumiditySensorGain = 157.23270440251574;  // 1 / 0.00636
constexpr double kDefaultHumiditySensorOffset = 0.1515;

// The two constants of the humidity sensor, always handed on together: a poll takes a copy of
// the pair, so it never sees a new gain with an old offset.
struct HumidityConstants {
  double HumiditySensorGain = kDefaultHumiditySensorGain;
  double HumiditySensorOffset = kDefaultHumiditySensorOffset;
};

double CountToHumidity(std::uint16_t count, const HumidityConstants& constants);
std::int64_t HumidityToCount(double percent, const HumidityConstants& constants);

}  // namespace vesk
