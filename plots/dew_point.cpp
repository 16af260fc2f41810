#include "plots/dew_point.h"

#include <cmath>

namespace vesk {

double DewPoint(double T, double RH) {
  // The eighth root as three square roots: the same to the last bit or one, and several times
  // faster than pow, which the whole-window rebuild calls for thousands of records.
  const double power = std::sqrt(std::sqrt(std::sqrt(RH / 100)));
  const double dew = power * (0.9 * T + 112) + 0.1 * T - 112;
  return std::isfinite(dew) ? dew : 0;
}

}  // namespace vesk
