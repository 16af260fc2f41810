#pragma once

#include <cstdint>

namespace vesk::sim {

// The words of the weather module as the board sends them in the REQ_GET_DATAEXT reply.
// Each analog channel is a 12-bit count of 1 mV (4.096 V full scale) in the high 12 bits
// of its word; second-generation modules (v2) amplify by 2.663 and shift the wind sensors.

// 12-bit count of the voltage, rounded and held within the converter's range, shifted up.
std::uint16_t ChannelWord(double volts);

// Pressure word: marker 01010 in bits 15 to 11, the 10-bit sensor count in bits 10 to 1.
std::uint16_t PressureWord(double stationHpa);
// The station pressure at 550 m and 20 °C that reduces to `seaLevelHpa`.
double StationPressure(double seaLevelHpa);

std::uint16_t HumidityWord(double percent);
std::uint16_t TemperatureWord(double celsius, bool v2);
std::uint16_t WindSpeedWord(double kmh, bool v2);
std::uint16_t WindDirectionWord(double degrees, bool v2);
// Signed, 1/128 °C per unit.
std::uint16_t ModuleTemperatureWord(double celsius);

// The 2.5 V reference channel.
constexpr double kReferenceVolts = 2.5;

}  // namespace vesk::sim
