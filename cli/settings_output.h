#pragma once

#include <cstdint>
#include <string>

#include "acquisition/poll_records.h"
#include "acquisition/sensor_conversions.h"
#include "station/station_state.h"

namespace vesk::cli {

// The heating setup: the thresholds read back (with their counts), the power level, automatic
// heating and the heater as the last poll told them.
std::string HeatingText(const HeatingState& heating, const HumidityConstants& humidity);
std::string HeatingJson(const HeatingState& heating, const HumidityConstants& humidity);

// The forced heater order and the board's answer, its automatic-heating flag.
std::string HeaterText(std::uint8_t on, std::uint8_t autoHeater);
std::string HeaterJson(std::uint8_t on, std::uint8_t autoHeater);

// The cooling mode and state one poll reported.
std::string CoolingText(const TDataOUT& data);
std::string CoolingJson(const TDataOUT& data);

}  // namespace vesk::cli
