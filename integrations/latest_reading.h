#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

#include "integrations/board_reading.h"

namespace vesk {

using SteadyTime = std::chrono::steady_clock::time_point;
// The clock the age of a reading is taken on; tests move their own.
using SteadyNow = std::function<SteadyTime()>;

struct StampedReading {
  BoardReading reading;
  SteadyTime at{};  // when it arrived
};

// The newest successful poll, shared between the thread that presents polls (it stores) and
// the servers' threads (they copy). Each side holds the lock only to copy a value, so a
// request never waits on a poll and a poll never waits on the network.
class LatestReading {
 public:
  explicit LatestReading(SteadyNow now);

  void Store(const BoardReading& reading);
  std::optional<StampedReading> Get() const;
  SteadyTime Now() const { return now_(); }

  // The pace of the polls (10 s, or 1 s in fast mode): a reading is current for three.
  void SetPollPeriod(std::chrono::milliseconds period);
  std::chrono::milliseconds PollPeriod() const;

 private:
  SteadyNow now_;
  // Protects latest_ and period_.
  mutable std::mutex mutex_;
  std::optional<StampedReading> latest_;
  std::chrono::milliseconds period_{10000};
};

}  // namespace vesk
