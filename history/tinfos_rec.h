#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/datetime.h"

namespace vesk {

// One measurement. Units: °C, %RH, hPa reduced to sea level, degrees of azimuth, km/h; a
// value the model does not measure is 0. The struct is the 80-byte record of the history
// file itself, so the records are read and written as one block with no per-record work.
struct TinfosRec {
  TDateTime Date = 0.0;  // exactly 0.0 marks an empty record, removed when the file is loaded
  double TempExt = 0.0;
  double RHExt = 0.0;
  double TempInt = 0.0;
  double RHInt = 0.0;
  double TempHot = 0.0;
  double Pressure = 0.0;
  double Windir = 0.0;
  double WindSpeed = 0.0;
  // A byte rather than a bool: the file may hold any non-zero byte for "on", which a bool
  // read straight from disk could not represent.
  std::uint8_t ActiveHeater = 0;
  std::uint8_t Padding[7] = {};
};

// The history, oldest record first; nothing ever sorts it.
using TTinfosRec = std::vector<TinfosRec>;

static_assert(std::endian::native == std::endian::little,
              "history records are read and written as little-endian memory images");
static_assert(sizeof(TinfosRec) == 80);
static_assert(offsetof(TinfosRec, Date) == 0);
static_assert(offsetof(TinfosRec, TempExt) == 8);
static_assert(offsetof(TinfosRec, RHExt) == 16);
static_assert(offsetof(TinfosRec, TempInt) == 24);
static_assert(offsetof(TinfosRec, RHInt) == 32);
static_assert(offsetof(TinfosRec, TempHot) == 40);
static_assert(offsetof(TinfosRec, Pressure) == 48);
static_assert(offsetof(TinfosRec, Windir) == 56);
static_assert(offsetof(TinfosRec, WindSpeed) == 64);
static_assert(offsetof(TinfosRec, ActiveHeater) == 72);

}  // namespace vesk
