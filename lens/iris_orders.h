#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "lens/aperture_tables.h"

namespace vesk {

class TComObjRs232;

// SET_CANON_DIAPH modes.
enum : std::uint8_t {
  kIrisOpen = 0xFF,
  kIrisClose = 0x77,  // by the step count
};

// The aperture the given number of encoder steps closed from fully open: A4 FF 00, then
// A4 77 steps. The replies are not read; a failed first exchange skips the second.
void SetCanonDiaph(TComObjRs232& link, std::uint8_t steps);

// The fixed apertures of the older lens page, by the steps each closes.
struct FixedAperture {
  const char* caption;
  std::uint8_t steps;
};
inline constexpr std::array<FixedAperture, 5> kFixedApertures{{
    {"f2.8", 0},
    {"f5.6", 20},
    {"f8", 28},
    {"f11", 36},
    {"f16", 44},
}};

// The fixed aperture of that caption; a caption not there does not compile.
consteval const FixedAperture& FixedApertureOf(std::string_view caption) {
  for (const FixedAperture& aperture : kFixedApertures) {
    if (caption == aperture.caption) {
      return aperture;
    }
  }
  throw "no such fixed aperture";
}

// The steps of entry index of a lens's aperture list: its code less the code of the widest
// entry, whichever table the list came from. An index outside the list (nothing chosen, a
// typed text) or steps outside 0 to 255 raise "Range check error".
std::uint8_t ApertureListSteps(const TACanonDiaphInf& FACanonDiaphInf, long long index);

// "Close Iris": A4, 0x77 (close by steps) or 0xFF (open), steps. Returns reply bytes 0 and 1;
// a shorter reply raises "Range check error".
std::array<std::uint8_t, 2> CloseIris(TComObjRs232& link, bool close, std::uint8_t steps);

// The reply bytes as LabelRetIris shows them: "0x06 0x1F".
std::string IrisFeedbackText(const std::array<std::uint8_t, 2>& reply);

}  // namespace vesk
