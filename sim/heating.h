#pragma once

#include <cstdint>

#include "common/byte_array.h"

namespace vesk::sim {

// The dome heater's setup as the board stores it: thresholds in sensor counts.
struct HeatingConfig {
  std::uint16_t tempThreshold = 0;
  std::uint16_t rhThreshold = 0;
  bool automatic = true;
  std::uint8_t power = 50;  // maximum power in percent
  bool forced = false;      // REQ_ENABLE_HEATER, followed outside the automatic mode
};

// 2 °C and 85 %RH, automatic, 50 %.
HeatingConfig DefaultHeating();

// In automatic mode the heater runs below the temperature threshold or above the humidity
// threshold; otherwise it follows the forced order. The board compares counts, the
// temperature threshold as a signed word (a threshold below -50 °C arrives negative).
bool HeaterOn(const HeatingConfig& config, double outsideC, double outsideRH);

// REQ_SET_CONFIG: 9E, the two threshold words, the automatic flag, the power level. Answers
// 0xCA when taken; a short order is refused with 0x00 and changes nothing.
TArrayByte SetConfig(HeatingConfig& config, const TArrayByte& order);
// REQ_GET_CONFIG: the two threshold words, then the automatic flag and the power level.
TArrayByte GetConfig(const HeatingConfig& config);
// REQ_ENABLE_HEATER: A0, on. Answers the automatic flag (0 or 1).
TArrayByte EnableHeater(HeatingConfig& config, const TArrayByte& order);

}  // namespace vesk::sim
