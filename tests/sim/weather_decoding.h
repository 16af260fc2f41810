#pragma once

#include <cstddef>
#include <cstdint>

#include "acquisition/poll_records.h"
#include "acquisition/reply_decoders.h"

// The weather module's words read by the monitor's own reply decoder, so the simulated
// board's encoding is checked against the readings the operator sees.
namespace vesk::sim::test {

// One word at its place in an otherwise empty REQ_GET_DATAEXT reply, read as a module of the
// first (17) or second (19) generation.
inline TinfosRec DecodeWord(std::size_t offset, std::uint16_t word, bool v2,
                            const WindCorrection& wind = {}) {
  TArrayByte reply(12, 0);
  reply[offset] = static_cast<std::uint8_t>(word >> 8);
  reply[offset + 1] = static_cast<std::uint8_t>(word & 0xFF);
  TDataOUT out;
  DecodeDataExt(reply, v2 ? 19 : 17, wind, HumidityConstants{}, out);
  return out.infosRec;
}

inline double DecodeTemperature(std::uint16_t w, bool v2) {
  return DecodeWord(4, w, v2).TempExt;
}
inline double DecodeHumidity(std::uint16_t w) {
  return DecodeWord(2, w, true).RHExt;
}
inline double DecodeWindSpeed(std::uint16_t w, bool v2) {
  return DecodeWord(6, w, v2).WindSpeed;
}
inline double DecodeWindDirection(std::uint16_t w, bool v2) {
  return DecodeWord(8, w, v2).Windir;
}
// The module's thermometer only shows in the wind correction: a factor of 1 takes off the
// degrees above 20.
inline double DecodeModuleTemperature(std::uint16_t w) {
  return 20 + DecodeWord(10, w, true).WindSpeed - DecodeWord(10, w, true, {true, 1}).WindSpeed;
}
// Sea-level pressure, as the monitor shows it.
inline double DecodePressure(std::uint16_t w) {
  return DecodeWord(0, w, true).Pressure;
}
// The monitor's reduction of a station pressure to sea level.
inline double SeaLevel(double stationHpa) {
  return SeaLevelPressure(20, 550, stationHpa);
}

}  // namespace vesk::sim::test
