#include "acquisition/sensor_conversions.h"

#include <cmath>

namespace vesk {
namespace {

// Nearest integer, halves to even; the guard value when there is none in 64 bits.
std::int64_t RoundCount(long double value) {
  constexpr long double kLimit = 9223372036854775807.0L;
  if (!std::isfinite(value) || value >= kLimit || value < -kLimit) {
    return 32767;
  }
  return static_cast<std::int64_t>(std::nearbyintl(value));
}

}  // namespace

double CountToCelsius(std::uint16_t count) {
  return static_cast<double>(((count / 16384.0L * 5) - 0.5L) * 100);
}

std::int64_t CelsiusToCount(double celsius) {
  return RoundCount(((celsius / 100.0L) + 0.5L) / 5 * 16384);
}

double CountToHumidity(std::uint16_t count, const HumidityConstants& c) {
  return static_cast<double>(((count / 16384.0L) - c.HumiditySensorOffset) *
                             static_cast<long double>(c.HumiditySensorGain));
}

std::int64_t HumidityToCount(double percent, const HumidityConstants& c) {
  return RoundCount(
      ((percent / static_cast<long double>(c.HumiditySensorGain)) + c.HumiditySensorOffset) *
      16384);
}

}  // namespace vesk
