#include "sim/board_clock.h"

namespace vesk::sim {

BoardClock SystemClock() {
  return [] { return Now(); };
}

BoardClock FastClock(double speed) {
  const TDateTime start = Now();
  return [start, speed] { return start + (Now() - start) * speed; };
}

}  // namespace vesk::sim
