#pragma once

#include "common/datetime.h"

namespace vesk {

// The time axes count seconds from 1970-01-01 of the date-times' own wall-clock time, and
// their ticker adds no zone offset (UTC): the labels read the local time the history holds,
// with no calendar look-up per value and no gap or fold at a daylight-saving change.
inline constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 in days since 1899-12-30

inline double ChartKey(TDateTime value) {
  return (value - kUnixEpochDays) * 86400.0;
}

inline TDateTime FromChartKey(double key) {
  return key / 86400.0 + kUnixEpochDays;
}

}  // namespace vesk
