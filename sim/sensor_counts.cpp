#include "sim/sensor_counts.h"

#include <algorithm>

#include "acquisition/sensor_conversions.h"

namespace vesk::sim {
namespace {

constexpr std::int64_t kFullScale = 16383;

std::uint16_t Clamp14(std::int64_t count) {
  return static_cast<std::uint16_t>(std::clamp<std::int64_t>(count, 0, kFullScale));
}

}  // namespace

std::uint16_t TemperatureCount(double celsius) {
  return Clamp14(CelsiusToCount(celsius));
}

std::uint16_t HumidityCount(double percent) {
  return Clamp14(HumidityToCount(percent, HumidityConstants{}));
}

}  // namespace vesk::sim
