#pragma once

#include <cstdint>

#include "sim/ambient.h"
#include "sim/cooling.h"
#include "sim/heating.h"
#include "sim/noise.h"

namespace vesk::sim {

// Everything a readings order reports, taken at one moment: the air, and what the heater,
// the cooler and the fan make of it.
struct Readings {
  Ambient ambient;
  bool heaterOn = false;
  double insideC = 0;  // with the heater's share
  double hotSideC = 0;
  CoolingState cooling;
  bool fanOn = false;
  std::uint16_t fanValue = 0;
};

Readings TakeReadings(const Ambient& ambient, const HeatingConfig& heating,
                      const CoolingModes& cooling, Noise& noise);

}  // namespace vesk::sim
