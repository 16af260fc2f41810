#pragma once

#include <cstdint>
#include <string>

#include "acquisition/poll_records.h"

namespace vesk {

// One successful poll with what the board told of itself, handed to the integrations by copy
// from the thread that presents polls.
struct BoardReading {
  TDataOUT data;
  std::uint8_t TypeCam = 0;
  double Version = 0;
  bool DisplayRH_int = false;
  bool DisplayTempHot = false;
  // Empty, or "xxxxxx", when the board did not tell it (firmware below 3).
  std::string SerialNumber;
};

}  // namespace vesk
