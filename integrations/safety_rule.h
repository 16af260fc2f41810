#pragma once

#include <chrono>
#include <optional>

#include "integrations/latest_reading.h"

namespace vesk {

struct SafetyLimits {
  double UnsafeHumidity = 90;  // %
  double DewMargin = 2.0;      // °C
};

// The rule's three conditions one by one, for a face that shows each (the INDI driver's
// status lights).
struct SafetyVerdict {
  bool current = false;     // a successful poll at most three poll periods old
  bool dry = false;         // the outside humidity below the limit
  bool clearOfDew = false;  // the outside temperature more than the margin above the dew point
  bool Safe() const { return current && dry && clearOfDew; }
};

SafetyVerdict JudgeSafety(const std::optional<StampedReading>& latest, SteadyTime now,
                          std::chrono::milliseconds pollPeriod, const SafetyLimits& limits);

// Safe only while the newest successful poll is at most three poll periods old, the outside
// humidity is below the limit and the outside temperature is more than the margin above the
// dew point. No reading, or one that cannot be judged (a value that is not a number, a
// negative humidity), is unsafe.
bool IsSafe(const std::optional<StampedReading>& latest, SteadyTime now,
            std::chrono::milliseconds pollPeriod, const SafetyLimits& limits);

}  // namespace vesk
