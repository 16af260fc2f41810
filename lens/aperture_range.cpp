#include "lens/aperture_range.h"

#include <algorithm>
#include <array>

#include "common/number_text.h"
#include "lens/aperture_tables.h"

namespace vesk {
namespace {

struct KnownLens {
  std::uint16_t lensID;
  double fMax;
  double fMin;
  const char* LabelAFmax;
  const char* LabelAFmin;
};

// Lenses whose reports hold codes the tables lack.
constexpr std::array<KnownLens, 4> kKnownLenses{{
    {0x91EA, 22.0, 4.0, "F/22 -> FORCED by ID", "F/4  -> FORCED by ID"},
    {0x91FB, 22.0, 4.0, "F/22 -> FORCED by ID", "F/4  -> FORCED by ID"},
    {0x81FE, 32.0, 2.8, "F/32  -> FORCED by ID", "F/2.8 -> FORCED by ID"},
    {0x81AE, 32.0, 2.0, "F/32  -> FORCED by ID", "F/2   -> FORCED by ID"},
}};

std::string ApertureLabel(double f) {
  return f == -1 ? "UNKNOWN" : FormatText("%2.1f", f);
}

}  // namespace

LensApertureRange ApertureRangeOf(std::uint8_t codeA, std::uint8_t codeB, std::uint16_t lensID) {
  LensApertureRange range;
  range.FExtendedCANON = codeA > codeB;
  range.fMax = ApertureValueOfCode(std::max(codeA, codeB), range.FExtendedCANON);
  range.fMin = ApertureValueOfCode(std::min(codeA, codeB), range.FExtendedCANON);
  range.LabelAFmax = ApertureLabel(range.fMax);
  range.LabelAFmin = ApertureLabel(range.fMin);
  if (range.fMax != -1 && range.fMin != -1) {
    return range;
  }
  for (const KnownLens& lens : kKnownLenses) {
    if (lens.lensID == lensID) {
      range.fMax = lens.fMax;
      range.fMin = lens.fMin;
      range.LabelAFmax = lens.LabelAFmax;
      range.LabelAFmin = lens.LabelAFmin;
    }
  }
  return range;
}

}  // namespace vesk
