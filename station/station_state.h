#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lens/aperture_tables.h"
#include "lens/lens_texts.h"

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

// The lens as the polls and the orders left it.
struct LensState {
  // The identifier FACanonDiaphInf was built for; kept across connections.
  std::uint16_t Previous_LensID = 0;
  // The focus position as the program counts it, 0 at the "Focus Min" end.
  int AbsolFocus = 0;
  // Lens table errors since the connection began; only the first one is shown in a box.
  std::uint16_t ErrorLens = 0;
  // GET_INFOS_EF_CANON exchanges since the connection; wraps at 65536.
  std::uint16_t LensCheckCount = 0;
  // The aperture list the operator chooses from (element 0 the widest), and its table.
  TACanonDiaphInf FACanonDiaphInf;
  bool FExtendedCANON = false;
};

// What the lens step of the last successful poll leaves for the lens pages.
struct LensPoll {
  LensPageTexts texts;  // of the page that fits the firmware
  // FACanonDiaphInf was rebuilt (a new identifier or length): the choice starts over.
  bool listReplaced = false;
  // The lens's f-numbers are not in the tables: "Error while reading data from lens : ...".
  std::optional<std::string> lensError;
  // The first lens error since the connection began: the one shown in a box.
  bool showLensError = false;
};

}  // namespace vesk
