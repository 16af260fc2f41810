#include "history/synthetic_history.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace vesk {
namespace {

// Slowly wandering noise with a given spread and correlation time (an AR(1) process).
class Drift {
 public:
  Drift(double spread, double correlationSeconds, double periodSeconds)
      : keep_(std::exp(-periodSeconds / correlationSeconds)),
        kick_(spread * std::sqrt(1.0 - keep_ * keep_)) {}

  double next(std::mt19937& random, std::normal_distribution<double>& normal) {
    value_ = keep_ * value_ + kick_ * normal(random);
    return value_;
  }

 private:
  double keep_;
  double kick_;
  double value_ = 0.0;
};

double Rounded(double value, double step) {
  return std::round(value / step) * step;
}

}  // namespace

TTinfosRec GenerateHistory(TDateTime start, std::size_t count, double periodSeconds,
                           unsigned seed) {
  constexpr double kTwoPi = 2.0 * std::numbers::pi;
  std::mt19937 random(seed);
  std::normal_distribution<double> normal;
  Drift weather(2.0, 6.0 * 3600.0, periodSeconds);
  Drift damp(8.0, 3.0 * 3600.0, periodSeconds);
  Drift sensor(0.05, 60.0, periodSeconds);
  Drift pressure(7.0, 2.0 * 86400.0, periodSeconds);
  Drift gust(4.0, 1800.0, periodSeconds);
  Drift veer(50.0, 12.0 * 3600.0, periodSeconds);

  TTinfosRec history(count);
  for (std::size_t i = 0; i < count; ++i) {
    TinfosRec& rec = history[i];
    rec.Date = start + static_cast<double>(i) * periodSeconds / 86400.0;
    const double timeOfDay = rec.Date - std::floor(rec.Date);
    // Warmest at 15:00, coldest at 03:00; summer around the start of August.
    const double daily = std::sin(kTwoPi * (timeOfDay - 0.375));
    const double seasonal = std::sin(kTwoPi * (rec.Date - 110.0) / 365.25);
    const double outside = 9.0 + 9.0 * seasonal + 5.0 * daily + weather.next(random, normal);
    const double rh = std::clamp(68.0 - 14.0 * daily + damp.next(random, normal), 8.0, 100.0);
    rec.TempExt = Rounded(outside + sensor.next(random, normal), 0.01);
    rec.RHExt = Rounded(rh, 0.1);
    rec.ActiveHeater = (rh > 88.0 || outside < 1.0) ? 1 : 0;
    rec.TempInt = Rounded(outside + 6.5 + sensor.next(random, normal), 0.01);
    rec.RHInt = Rounded(std::clamp(28.0 + 0.25 * (rh - 68.0), 5.0, 60.0), 0.1);
    rec.TempHot = Rounded(outside + (rec.ActiveHeater ? 14.0 : 3.0), 0.01);
    rec.Pressure = Rounded(1014.0 + pressure.next(random, normal), 0.1);
    rec.WindSpeed = Rounded(std::abs(9.0 + gust.next(random, normal)), 0.1);
    rec.Windir = std::round(std::fmod(225.0 + veer.next(random, normal) + 720.0, 360.0));
  }
  return history;
}

}  // namespace vesk
