#pragma once

#include <cmath>

namespace vesk {

// Dew point in °C of a temperature in °C and a relative humidity in %; 0 where the formula
// cannot be computed (a negative humidity). Never throws. Inline: the whole-window rebuild
// calls it for thousands of records.
inline double DewPoint(double T, double RH) {
  // The eighth root as three square roots: the same to the last bit or one, and several
  // times faster than pow.
  const double power = std::sqrt(std::sqrt(std::sqrt(RH / 100)));
  const double dew = power * (0.9 * T + 112) + 0.1 * T - 112;
  return std::isfinite(dew) ? dew : 0;
}

}  // namespace vesk
