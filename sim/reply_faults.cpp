#include "sim/reply_faults.h"

#include "link/frame.h"

namespace vesk::sim {
namespace {

// Well above the 28 the monitor's buffer takes, and a complete frame, so the monitor has
// to reject it by its length rather than by a time-out.
constexpr std::size_t kOverLongPayload = 39;
constexpr std::uint8_t kWrongStart = 0x1E;

}  // namespace

TArrayByte ReplyFaults::apply(TArrayByte frame) {
  if (faults_.silent) {
    return {};
  }
  ++replies_;
  if (faults_.overLongLength) {
    TArrayByte payload(frame.begin() + 2, frame.end() - 1);
    if (payload.size() < kOverLongPayload) {
      payload.resize(kOverLongPayload, 0);
    }
    frame = BuildReplyFrame(payload);
  }
  if (faults_.badChecksumEvery != 0 && replies_ % faults_.badChecksumEvery == 0) {
    frame.back() = static_cast<std::uint8_t>(frame.back() + 1);
  }
  if (faults_.badStart) {
    frame[0] = kWrongStart;
  }
  if (faults_.shortReply) {
    // The header announces the whole body; half of it comes, never the checksum.
    frame.resize(2 + frame[1] / 2);
  }
  return frame;
}

}  // namespace vesk::sim
