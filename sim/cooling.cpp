#include "sim/cooling.h"

namespace vesk::sim {
namespace {

constexpr double kTooHotInsideC = 22;
constexpr double kTooWetInsideRH = 75;

TArrayByte SetSwitch(bool& which, const TArrayByte& order) {
  if (order.size() >= 2) {
    which = order[1] != 0;
  }
  return {static_cast<std::uint8_t>(which ? 1 : 0)};
}

}  // namespace

CoolingState EvaluateCooling(const CoolingModes& modes, bool day, double insideC, double insideRH) {
  CoolingState state;
  state.day = day;
  state.tooHot = insideC > kTooHotInsideC;
  state.tooWet = insideRH > kTooWetInsideRH;
  if (modes.automatic) {
    state.running = !state.day && !state.tooHot && !state.tooWet;
  } else {
    state.running = modes.manual;
  }
  return state;
}

std::uint8_t StatusCoolerByte(const CoolingModes& modes, const CoolingState& state) {
  std::uint8_t status = 0;
  if (modes.automatic) {
    status |= 0x01;
  }
  if (modes.manual) {
    status |= 0x02;
  }
  if (state.running) {
    status |= 0x04;
  }
  if (modes.automatic) {
    status |= (state.day ? 0x08 : 0) | (state.tooHot ? 0x10 : 0) | (state.tooWet ? 0x20 : 0);
  }
  return status;
}

TArrayByte SetManualCooler(CoolingModes& modes, const TArrayByte& order) {
  return SetSwitch(modes.manual, order);
}

TArrayByte SetAutoCooler(CoolingModes& modes, const TArrayByte& order) {
  return SetSwitch(modes.automatic, order);
}

}  // namespace vesk::sim
