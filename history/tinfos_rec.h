#pragma once

#include <vector>

#include "common/datetime.h"

namespace vesk {

// One measurement. Units: °C, %RH, hPa reduced to sea level, degrees of azimuth, km/h; a
// value the model does not measure is 0.
struct TinfosRec {
  TDateTime Date = 0;
  double TempExt = 0;
  double RHExt = 0;
  double TempInt = 0;
  double RHInt = 0;
  double TempHot = 0;
  double Pressure = 0;
  double Windir = 0;
  double WindSpeed = 0;
  bool ActiveHeater = false;
};

// The history, oldest record first.
using TTinfosRec = std::vector<TinfosRec>;

}  // namespace vesk
