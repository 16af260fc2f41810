#include "device/threshold_values.h"

#include <cmath>

#include "acquisition/sensor_conversions.h"
#include "common/checked.h"
#include "common/number_text.h"

namespace vesk {

bool InSettingRange(double value, const SettingRange& range, bool whole) {
  return value >= range.minimum && value <= range.maximum && (!whole || value == std::trunc(value));
}

std::string SettingRefusal(const std::string& what, const std::string& given,
                           const SettingRange& range, bool whole) {
  const auto bound = [whole](double v) {
    return whole ? std::to_string(std::llround(v)) : FloatToText(v);
  };
  return what + " needs a " + (whole ? "whole number" : "number") + " from " +
         bound(range.minimum) + " to " + bound(range.maximum) + ", not \"" + given + "\"";
}

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
