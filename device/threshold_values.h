#pragma once

#include <cstdint>
#include <string>

#include "acquisition/sensor_conversions.h"

namespace vesk {

// What the operator may type for each heating setting (the new-value fields take nothing
// else; the command line refuses the rest as bad usage).
struct SettingRange {
  double minimum;
  double maximum;
};
inline constexpr SettingRange kTemperatureThresholdRange{-100, 100};  // °C
inline constexpr SettingRange kHumidityThresholdRange{0, 100};        // %RH
inline constexpr SettingRange kPowerLevelRange{1, 100};               // %

// Whether the operator's value is taken: within the range, a whole number when whole (the
// power level); a NaN never is.
bool InSettingRange(double value, const SettingRange& range, bool whole = false);
// Why a value typed for a setting is refused, as every face says it: what + " needs a number
// from -100 to 100, not \"" + given + "\"" ("a whole number" when whole).
std::string SettingRefusal(const std::string& what, const std::string& given,
                           const SettingRange& range, bool whole = false);

// The threshold counts the board receives: the low 16 bits of the conversion, unchecked, so a
// threshold below -50 °C goes out as the two's complement of its negative count (-100 °C is
// 0xF99A).
std::uint16_t TemperatureThresholdWord(double celsius);
std::uint16_t HumidityThresholdWord(double percent, const HumidityConstants& humidity);

// The power level the board receives; outside 0 to 255 it raises "Range check error" before
// anything is sent.
std::uint8_t PowerLevelByte(long long percent);

}  // namespace vesk
