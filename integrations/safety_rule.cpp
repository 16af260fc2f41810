#include "integrations/safety_rule.h"

#include "plots/dew_point.h"

namespace vesk {

bool IsSafe(const std::optional<StampedReading>& latest, SteadyTime now,
            std::chrono::milliseconds pollPeriod, const SafetyLimits& limits) {
  if (!latest || now - latest->at > 3 * pollPeriod) {
    return false;
  }
  const TinfosRec& rec = latest->reading.data.infosRec;
  // Written so that a NaN anywhere answers unsafe. Below 0 % the dew point has no value (a
  // humidity sensor that lost its line reads about -24 %): that cannot be judged safe either.
  const bool dry = rec.RHExt >= 0 && rec.RHExt < limits.UnsafeHumidity;
  const bool clearOfDew = rec.TempExt - DewPoint(rec.TempExt, rec.RHExt) > limits.DewMargin;
  return dry && clearOfDew;
}

}  // namespace vesk
