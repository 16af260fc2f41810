#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

#include "common/byte_array.h"
#include "sim/board_setup.h"

namespace vesk::sim {

// The faults a mix chooses from, one per spoiled reply.
enum class MixedFault { Silence, Late, BadChecksum, BadStart, ShortReply, OverLongLength };
inline constexpr int kMixedFaultKinds = 6;

// "silence", "late reply" …: what the program prints for each fault it injects.
const char* MixedFaultName(MixedFault fault);

// A late reply of the mix waits this long, some replies within the monitor's 2 s time-out
// and some past it.
inline constexpr std::chrono::milliseconds kLateReplyMin{500};
inline constexpr std::chrono::milliseconds kLateReplyMax{3000};

// What goes on the line for one reply.
struct SpoiledReply {
  TArrayByte bytes;  // none: nothing is sent
  std::chrono::milliseconds delay{0};
  std::optional<MixedFault> mixed;  // the fault the mix chose for it, if any
};

// Spoils reply frames the way the faults ask, counting the replies for "every k-th"; the mix
// draws from its own generator, seeded, so one seed gives the same faults on the same replies.
class ReplyFaults {
 public:
  ReplyFaults(const BoardFaults& faults, std::uint32_t seed) : faults_(faults), engine_(seed) {}

  SpoiledReply apply(TArrayByte frame);
  const BoardFaults& faults() const { return faults_; }
  // A paused mix spoils nothing and draws nothing: it goes on where it stopped.
  void pauseMix(bool paused) { mixPaused_ = paused; }

 private:
  std::optional<MixedFault> draw();

  BoardFaults faults_;
  unsigned replies_ = 0;
  std::mt19937 engine_;
  bool mixPaused_ = false;
};

}  // namespace vesk::sim
