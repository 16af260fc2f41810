#pragma once

#include <cstdint>
#include <string>

#include "acquisition/sensor_conversions.h"

namespace vesk {

class TComObjRs232;

// The thresholds the board stores, as sensor counts.
struct HeatingThresholds {
  std::uint16_t gSeuil_Temp_asWord = 0;
  std::uint16_t gSeuil_RH_asWord = 0;
};

// Everything REQ_SET_CONFIG writes: the thresholds, automatic heating and the maximum power.
struct HeatingSetup {
  HeatingThresholds thresholds;
  bool gAutoTempRH_Heat = false;
  std::uint8_t gPowerHeaterLevel = 0;
};

// REQ_GET_CONFIG: the stored thresholds (the reply carries no acknowledge byte).
HeatingThresholds GetConfig(TComObjRs232& link);

// REQ_SET_CONFIG. A reply that does not start with 0xCA raises "Error Message"; the caller
// logs SetConfigLogLine once it returns.
void SetConfig(TComObjRs232& link, const HeatingSetup& setup);

// REQ_ENABLE_HEATER: forces the heater on (1) or off (0). Returns the board's answer, its
// automatic-heating flag; an answer of 2 or more raises "Link error !!". The caller logs
// EnableHeaterLogLine once it returns.
std::uint8_t EnableHeater(TComObjRs232& link, std::uint8_t on);

// The texts GetCurrentSetup shows and logs.
struct HeatingThresholdTexts {
  std::string Label_TempSeuil;      // "%1.1f °C"
  std::string Label_TempSeuilHint;  // the raw count
  std::string Label_RHSeuil;        // "%1.0f %%"
  std::string Label_RHSeuilHint;
  std::string logLine;
};
HeatingThresholdTexts FormatThresholds(const HeatingThresholds& thresholds,
                                       const HumidityConstants& humidity);

std::string SetConfigLogLine(const HeatingSetup& setup);
std::string EnableHeaterLogLine(std::uint8_t on, std::uint8_t answer);

}  // namespace vesk
