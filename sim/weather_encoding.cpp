#include "sim/weather_encoding.h"

#include <algorithm>
#include <cmath>

#include "acquisition/sensor_conversions.h"

namespace vesk::sim {
namespace {

constexpr double kVoltsPerCount = 4.096 / 4096;
constexpr double kGainV2 = 2.663;
constexpr double kGainV1 = 1.3333;
constexpr double kWindOffsetV1 = 0.5805;
constexpr std::uint16_t kPressureMarker = 10;

long Round(double value) {
  return std::lround(value);
}

}  // namespace

std::uint16_t ChannelWord(double volts) {
  const long count = std::clamp(Round(volts / kVoltsPerCount), 0L, 4095L);
  return static_cast<std::uint16_t>(count << 4);
}

double StationPressure(double seaLevelHpa) {
  const double kelvin = 20 + 273.16;
  return seaLevelHpa / std::pow((0.00651 * 550 + kelvin) / kelvin, 5.25516);
}

std::uint16_t PressureWord(double stationHpa) {
  const long count = std::clamp(Round(stationHpa / 10 * 13.64 - 545.6), 0L, 1023L);
  return static_cast<std::uint16_t>((kPressureMarker << 11) | (count << 1));
}

std::uint16_t HumidityWord(double percent) {
  return ChannelWord((percent / kDefaultHumiditySensorGain + kDefaultHumiditySensorOffset) * 5);
}

std::uint16_t TemperatureWord(double celsius, bool v2) {
  const double sensorVolts = celsius / 100 + 0.5;
  return ChannelWord(v2 ? sensorVolts * kGainV2 : sensorVolts);
}

std::uint16_t WindSpeedWord(double kmh, bool v2) {
  if (v2) {
    return ChannelWord((kmh * 16.526 / (1000 * 50 * 3.6) * 75 + 0.305) * kGainV2);
  }
  return ChannelWord((kmh * 16 / (1000 * 50 * 3.6) * 150 + kWindOffsetV1) * kGainV1);
}

std::uint16_t WindDirectionWord(double degrees, bool v2) {
  if (v2) {
    return ChannelWord((degrees / 360 * 1.2 + 0.3) * kGainV2);
  }
  return ChannelWord((degrees * 16 / (1000 * 360) * 150 + kWindOffsetV1) * kGainV1);
}

std::uint16_t ModuleTemperatureWord(double celsius) {
  const long units = std::clamp(Round(celsius * 128), -32768L, 32767L);
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(units));
}

}  // namespace vesk::sim
