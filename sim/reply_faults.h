#pragma once

#include "common/byte_array.h"
#include "sim/board_setup.h"

namespace vesk::sim {

// Spoils reply frames the way the faults ask, counting the replies for "every k-th".
class ReplyFaults {
 public:
  explicit ReplyFaults(const BoardFaults& faults) : faults_(faults) {}

  // The bytes that go on the line for this well-formed reply frame; none when silent.
  TArrayByte apply(TArrayByte frame);
  const BoardFaults& faults() const { return faults_; }

 private:
  BoardFaults faults_;
  unsigned replies_ = 0;
};

}  // namespace vesk::sim
