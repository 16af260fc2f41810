#include "device/threshold_values.h"

#include "acquisition/sensor_conversions.h"
#include "common/checked.h"

namespace vesk {

std::uint16_t TemperatureThresholdWord(double celsius) {
  return static_cast<std::uint16_t>(CelsiusToCount(celsius));
}

std::uint16_t HumidityThresholdWord(double percent, const HumidityConstants& humidity) {
  return static_cast<std::uint16_t>(HumidityToCount(percent, humidity));
}

std::uint8_t PowerLevelByte(long long percent) {
  return ToByte(percent);
}

}  // namespace vesk
