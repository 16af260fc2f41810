#pragma once

#include <cstdint>

#include "acquisition/poll_records.h"
#include "common/byte_array.h"

namespace vesk {

// Wind-speed correction of the weather module, in km/h per °C above 20 °C.
struct WindCorrection {
  bool CorrectWindSpeed = false;
  double FactCorrectionWindSpeed = 0;
};

// p × ((0.00651 × h + (t + 273.16)) / (t + 273.16)) ^ 5.25516
double SeaLevelPressure(double t, double h, double p);

// Each decoder reads the reply as laid out by the board; a reply shorter than the bytes it
// needs raises "Range check error".

// REQ_GET_DATAEXT: pressure, outside humidity and temperature, wind speed and direction.
void DecodeDataExt(const TArrayByte& reply, std::uint8_t TypeCam, const WindCorrection& wind,
                   const HumidityConstants& humidity, TDataOUT& out);

// REQ_GET_VOLTAGE: inside readings, heater, and the hot-side block on models that have it.
void DecodeVoltage(const TArrayByte& reply, const TDataTinParams& model, TDataOUT& out);

// GET_INFOS_EF_CANON, byte 0: the presence marker 0xAA when a lens answered.
void DecodeLensPresence(const TArrayByte& reply, TDataOUT& out);
// GET_INFOS_EF_CANON, the lens bytes (11 below firmware 2.2, else 18 with the identifier).
void DecodeLensBytes(const TArrayByte& reply, double version, TDataOUT& out);

// GET_NAME_EF_CANON: the name, or the text for boards that do not know the order.
std::string DecodeLensName(const TArrayByte& reply);

}  // namespace vesk
