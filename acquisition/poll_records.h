#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "acquisition/sensor_conversions.h"
#include "history/tinfos_rec.h"

namespace vesk {

class TComObjRs232;

// What a poll needs from the window, copied before the worker starts.
struct TDataTinParams {
  TComObjRs232* ComObjRs232 = nullptr;  // not owned
  std::uint8_t TypeCam = 0;
  bool DisplayRH_int = false;
  bool DisplayTempHot = false;
  bool DriveEFlens = false;
  HumidityConstants humidity;
};

struct TstateCoolCCD {
  bool DayDetected = false;
  bool TooHotinsideCam = false;
  bool TooWetinsideCam = false;
  bool CoolPending = false;
};

// Lens bytes; a poll fills at most the first 18.
using TArrayLens = std::array<std::uint8_t, 25>;

// The decoded result of one poll. Whatever a poll does not fill stays zero, false or empty.
struct TDataOUT {
  TinfosRec infosRec;  // Date stays 0: the history record is stamped when applied
  bool AutoTempRH_Heat = false;
  std::uint8_t PowerHeaterLevel = 0;
  std::uint8_t StatusSensor = 0;
  std::uint16_t ValueFan = 0;
  std::uint8_t StatusCooler = 0;
  TstateCoolCCD StateCCDCool;
  bool PresenceAF = false;
  std::uint8_t FirstByteAF = 0;
  TArrayLens LensData{};
  std::string LensName;
  std::uint16_t lensID = 0;
};

}  // namespace vesk
