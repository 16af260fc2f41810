#include "integrations/safety_rule.h"

#include "plots/dew_point.h"

namespace vesk {

SafetyVerdict JudgeSafety(const std::optional<StampedReading>& latest, SteadyTime now,
                          std::chrono::milliseconds pollPeriod, const SafetyLimits& limits) {
  SafetyVerdict verdict;
  if (!latest) {
    return verdict;
  }
  verdict.current = now - latest->at <= 3 * pollPeriod;
  const TinfosRec& rec = latest->reading.data.infosRec;
  // Written so that a NaN anywhere answers unsafe. Below 0 % the dew point has no value (a
  // humidity sensor that lost its line reads about -24 %): that cannot be judged safe either.
  verdict.dry = rec.RHExt >= 0 && rec.RHExt < limits.UnsafeHumidity;
  verdict.clearOfDew = rec.TempExt - DewPoint(rec.TempExt, rec.RHExt) > limits.DewMargin;
  return verdict;
}

bool IsSafe(const std::optional<StampedReading>& latest, SteadyTime now,
            std::chrono::milliseconds pollPeriod, const SafetyLimits& limits) {
  return JudgeSafety(latest, now, pollPeriod, limits).Safe();
}

}  // namespace vesk
