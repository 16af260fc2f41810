#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/exceptions.h"

namespace vesk {

// The failure of the lens table lookups.
class ElensCANONExcept : public Exception {
 public:
  using Exception::Exception;
};

// One row of an aperture table.
struct TInfoApertures {
  const char* FriendName;  // "f/" and the f-number, as the operator sees it
  std::uint8_t SendValue;  // aperture code, as the lens report carries it
  double AbsolValue;       // f-number
};

// One entry of a lens's aperture list.
struct TCanonDiaphInf {
  std::string FrendlyName;
  double Value = 0;
  std::uint8_t AbsoluteIndex = 0;  // the row in its table, counted from 1
  std::uint8_t HwCodeValue = 0;
};
using TACanonDiaphInf = std::vector<TCanonDiaphInf>;

// The standard table, for the older code range. Its rows are kept as the lenses report them:
// duplicated codes and values, a name that does not match its value, code 0x25 before 0x24.
extern const std::array<TInfoApertures, 52> ApertureTable;
// The table for lens reports in the extended code range.
extern const std::array<TInfoApertures, 22> ExtendedApertureTable;

// The f-number of the first row with this code; -1 when the table has none.
double ApertureValueOfCode(std::uint8_t code, bool extended);

// The rows from the first one valued exactly minValue to the first one valued exactly
// maxValue, both included. Raises ElensCANONExcept when either value is not in the table,
// and "Range check error" when the max row stands more than one row before the min row.
void ApertureListBetween(bool extended, TACanonDiaphInf& list, double minValue, double maxValue);

}  // namespace vesk
