#include "plots/dew_point.h"

#include <cmath>

namespace vesk {

double DewPoint(double T, double RH) {
  const double power = std::pow(RH / 100, 0.125);
  const double dew = power * (0.9 * T + 112) + 0.1 * T - 112;
  return std::isfinite(dew) ? dew : 0;
}

}  // namespace vesk
