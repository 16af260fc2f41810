#include "integrations/latest_reading.h"

#include <utility>

namespace vesk {

LatestReading::LatestReading(SteadyNow now) : now_(std::move(now)) {}

void LatestReading::Store(const BoardReading& reading) {
  StampedReading stamped{reading, now_()};
  std::lock_guard lock(mutex_);
  latest_ = std::move(stamped);
}

std::optional<StampedReading> LatestReading::Get() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

void LatestReading::SetPollPeriod(std::chrono::milliseconds period) {
  std::lock_guard lock(mutex_);
  period_ = period;
}

std::chrono::milliseconds LatestReading::PollPeriod() const {
  std::lock_guard lock(mutex_);
  return period_;
}

}  // namespace vesk
