#include "sim/ambient.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vesk::sim {
namespace {

constexpr double kMeanC = 12;
constexpr double kDailySwingC = 8;
constexpr double kWarmestHour = 15;
constexpr double kDayStartHour = 7;
constexpr double kDayEndHour = 19;
// The electronics warm the camera; its air is damper than outside.
constexpr double kInsideWarmerC = 8;
constexpr double kInsideDewAboveC = 6;

double Wave(double x, double period) {
  return std::sin(2 * std::numbers::pi * x / period);
}

double SaturationHpa(double celsius) {
  return 6.112 * std::exp(17.62 * celsius / (243.12 + celsius));
}

}  // namespace

double RelativeHumidity(double celsius, double dewPointC) {
  return std::clamp(100 * SaturationHpa(dewPointC) / SaturationHpa(celsius), 0.0, 100.0);
}

Ambient SampleAmbient(TDateTime when, Noise& noise) {
  const double hour = (when - std::floor(when)) * 24;
  Ambient a;
  a.day = hour >= kDayStartHour && hour < kDayEndHour;
  a.outsideC = kMeanC + kDailySwingC * std::cos(2 * std::numbers::pi * (hour - kWarmestHour) / 24) +
               noise.around(0.2);
  const double dewC = 3 + 1.5 * Wave(when, 3.1) + noise.around(0.3);
  a.outsideRH = RelativeHumidity(a.outsideC, dewC);
  a.insideC = a.outsideC + kInsideWarmerC + noise.around(0.1);
  a.insideRH = RelativeHumidity(a.insideC, dewC + kInsideDewAboveC);
  a.seaLevelHpa = 1013 + 7 * Wave(when, 4.3) + noise.around(0.2);
  a.windKmh = std::max(0.0, 9 + 5 * Wave(when, 0.6) + noise.around(3));
  a.windDeg = std::fmod(230 + 50 * Wave(when, 1.3) + noise.around(15) + 360, 360);
  a.moduleC = a.outsideC + 1.5;
  return a;
}

}  // namespace vesk::sim
