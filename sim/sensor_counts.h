#pragma once

#include <cstdint>

namespace vesk::sim {

// The board's own sensors are read by a 14-bit converter: counts 0 to 16383, whatever the
// value would need.
std::uint16_t TemperatureCount(double celsius);
std::uint16_t HumidityCount(double percent);

}  // namespace vesk::sim
