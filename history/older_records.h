#pragma once

#include <cstddef>
#include <cstdint>

#include "history/tinfos_rec.h"

namespace vesk {

// The two record layouts of earlier firmware generations, still read by the CSV conversion.

// 88 bytes.
struct TinfosRecRozEza {
  TDateTime Date;
  double Temp_Ext;
  double TempPCB;
  double TempBaseDome;
  double TempCCD;
  double RH_Ext;
  double RH_Int;
  std::uint8_t ActiveHeater;
  std::uint8_t Padding[7];
  double PressATM;
  double WinSpeed;
  double WinDir;
};

// 64 bytes.
struct TinfosRecCorvo {
  TDateTime Date;
  double Temp;
  double Temp2;
  double TempHot;
  double tempCCD;
  double RH;
  double RH2;
  std::uint8_t ActiveHeater;
  std::uint8_t Padding[7];
};

static_assert(sizeof(TinfosRecRozEza) == 88);
static_assert(offsetof(TinfosRecRozEza, TempCCD) == 32);
static_assert(offsetof(TinfosRecRozEza, RH_Int) == 48);
static_assert(offsetof(TinfosRecRozEza, ActiveHeater) == 56);
static_assert(offsetof(TinfosRecRozEza, PressATM) == 64);
static_assert(offsetof(TinfosRecRozEza, WinDir) == 80);
static_assert(sizeof(TinfosRecCorvo) == 64);
static_assert(offsetof(TinfosRecCorvo, RH2) == 48);
static_assert(offsetof(TinfosRecCorvo, ActiveHeater) == 56);

// The CCD temperatures are dropped; what the layout lacks is 0.0.
TinfosRec ToTinfosRec(const TinfosRecRozEza& old);
TinfosRec ToTinfosRec(const TinfosRecCorvo& old);

}  // namespace vesk
