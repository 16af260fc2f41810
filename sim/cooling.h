#pragma once

#include <cstdint>

#include "common/byte_array.h"

namespace vesk::sim {

// The sensor cooler's two modes are separate switches; the automatic one wins when both
// are on, as the status byte tells.
struct CoolingModes {
  bool automatic = true;
  bool manual = false;
};

// Whether the cooler runs now, and the three reasons the automatic mode stops it for.
struct CoolingState {
  bool running = false;
  bool day = false;
  bool tooHot = false;
  bool tooWet = false;
};

// Automatic: runs at night while the camera is neither too hot nor too wet inside.
// Manual: runs. Neither: off.
CoolingState EvaluateCooling(const CoolingModes& modes, bool day, double insideC, double insideRH);

// Bits 0 automatic, 1 manual, 2 running; in automatic mode 3 day, 4 too hot, 5 too wet.
std::uint8_t StatusCoolerByte(const CoolingModes& modes, const CoolingState& state);

// SET_MANUAL_COOLER_ORDER and SET_AUTO_COOLER_ORDER: code, on. Both answer the new value.
TArrayByte SetManualCooler(CoolingModes& modes, const TArrayByte& order);
TArrayByte SetAutoCooler(CoolingModes& modes, const TArrayByte& order);

}  // namespace vesk::sim
