#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// What the last identification told of the board; kept after a disconnection.
struct IdentityState {
  double Version = 0;
  std::uint8_t TypeCam = 0;
  bool DisplayTempHot = false;
  bool DisplayRH_int = false;
  bool DriveEFlens_intf = false;
  // Firmware 3 and later: the six digits, or "xxxxxx" when they could not be read.
  std::string SerialNumber;
};

// The board's heating setup as the last read-back and the last poll told it.
struct HeatingState {
  std::uint16_t gSeuil_Temp_asWord = 0;
  std::uint16_t gSeuil_RH_asWord = 0;
  std::uint8_t gPowerHeaterLevel = 0;
  bool gAutoTempRH_Heat = false;
  bool gHeaterON = false;
};

// The lens as the polls of this connection left it.
struct LensState {
  std::uint16_t Previous_LensID = 0;
  int AbsolFocus = 0;
  std::uint16_t ErrorLens = 0;
  // GET_INFOS_EF_CANON exchanges since the connection; wraps at 65536.
  std::uint16_t LensCheckCount = 0;
};

}  // namespace vesk
