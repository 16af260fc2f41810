#pragma once

#include <chrono>
#include <optional>

#include "integrations/latest_reading.h"

namespace vesk {

struct SafetyLimits {
  double UnsafeHumidity = 90;  // %
  double DewMargin = 2.0;      // °C
};

// Safe only while the newest successful poll is at most three poll periods old, the outside
// humidity is below the limit and the outside temperature is more than the margin above the
// dew point. No reading, or one that cannot be judged (a value that is not a number, a
// negative humidity), is unsafe.
bool IsSafe(const std::optional<StampedReading>& latest, SteadyTime now,
            std::chrono::milliseconds pollPeriod, const SafetyLimits& limits);

}  // namespace vesk
