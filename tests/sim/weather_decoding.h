#pragma once

#include <cmath>
#include <cstdint>

#include "acquisition/sensor_conversions.h"

// How the monitor reads the weather module's words, written out here so the simulated
// board's encoding is checked against the readings the operator sees.
namespace vesk::sim::test {

inline double Volts(std::uint16_t word) {
  return (word >> 4) * 4.096 / 4096;
}
inline double DecodeTemperature(std::uint16_t w, bool v2) {
  return ((v2 ? Volts(w) / 2.663 : Volts(w)) - 0.5) * 100;
}
inline double DecodeHumidity(std::uint16_t w) {
  return (Volts(w) / 5 - kDefaultHumiditySensorOffset) * kDefaultHumiditySensorGain;
}
inline double DecodeWindSpeed(std::uint16_t w, bool v2) {
  if (v2) {
    return ((Volts(w) / 2.663 - 0.305) / 75 * 1000 * 50 * 3.6) / 16.526;
  }
  return ((Volts(w) / 1.3333 - 0.5805) / 150 * 1000 * 50 * 3.6) / 16;
}
inline double DecodeWindDirection(std::uint16_t w, bool v2) {
  if (v2) {
    return (Volts(w) / 2.663 - 0.3) / 1.2 * 360;
  }
  return ((Volts(w) / 1.3333 - 0.5805) / 150 * 1000 * 360) / 16;
}
inline double DecodeModuleTemperature(std::uint16_t w) {
  return static_cast<std::int16_t>(w) / 16.0 * 0.125;
}
// The pressure word's marker must be 10; the count is in bits 10 to 1.
inline double DecodeStationPressure(std::uint16_t w) {
  return (((w >> 1) & 0x3FF) + 545.6) / 13.64 * 10;
}
inline double SeaLevel(double stationHpa) {
  return stationHpa * std::pow((0.00651 * 550 + 293.16) / 293.16, 5.25516);
}

}  // namespace vesk::sim::test
