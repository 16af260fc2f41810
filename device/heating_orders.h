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

// REQ_GET_CONFIG: the stored thresholds (the reply carries no acknowledge byte).
HeatingThresholds GetConfig(TComObjRs232& link);

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

}  // namespace vesk
