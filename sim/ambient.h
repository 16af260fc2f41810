#pragma once

#include "common/datetime.h"
#include "sim/noise.h"

namespace vesk::sim {

// The air around and inside the camera at one moment.
struct Ambient {
  double outsideC = 0;
  double outsideRH = 0;
  double insideC = 0;  // before the dome heater's share
  double insideRH = 0;
  double seaLevelHpa = 0;
  double windKmh = 0;
  double windDeg = 0;
  double moduleC = 0;  // the weather module's own temperature
  bool day = false;
};

// A daily temperature cycle (coolest at 03:00, warmest at 15:00) with noise; humidity from
// a dew point that drifts over days, so it is highest in the cold hours; the camera's
// inside a few degrees above the outside and damper; pressure over a few days; gusty wind.
Ambient SampleAmbient(TDateTime when, Noise& noise);

// Relative humidity in % of air at `celsius` whose dew point is `dewPointC` (Magnus).
double RelativeHumidity(double celsius, double dewPointC);

}  // namespace vesk::sim
