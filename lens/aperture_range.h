#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// The aperture range of a present lens, from the two aperture codes of its 0xB0 frame.
struct LensApertureRange {
  bool FExtendedCANON = false;  // codes in descending order: the extended table
  double fMin = -1;             // -1: the code is not in the table
  double fMax = -1;
  std::string LabelAFmin;  // "%2.1f", "UNKNOWN" or, for a lens known by identifier, forced
  std::string LabelAFmax;
};

// The smaller code gives the smallest f-number, the larger the largest. When either is not in
// the table, four lenses known by identifier get their range forced (the table stays).
LensApertureRange ApertureRangeOf(std::uint8_t codeA, std::uint8_t codeB, std::uint16_t lensID);

}  // namespace vesk
