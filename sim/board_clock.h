#pragma once

#include <functional>

#include "common/datetime.h"

namespace vesk::sim {

// The board's idea of the local date and time; readings follow it through the day.
using BoardClock = std::function<TDateTime()>;

BoardClock SystemClock();
// Local time running `speed` times faster than the real one from now on, so a demo
// walks through a day and night in minutes.
BoardClock FastClock(double speed);

}  // namespace vesk::sim
