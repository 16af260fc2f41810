#include "sim/reply_faults.h"

#include "link/frame.h"

namespace vesk::sim {
namespace {

// Well above the 28 the monitor's buffer takes, and a complete frame, so the monitor has
// to reject it by its length rather than by a time-out.
constexpr std::size_t kOverLongPayload = 39;
constexpr std::uint8_t kWrongStart = 0x1E;

TArrayByte OverLong(const TArrayByte& frame) {
  // A frame another fault already cut to its header has no body left.
  TArrayByte payload;
  if (frame.size() > 3) {
    payload.assign(frame.begin() + 2, frame.end() - 1);
  }
  if (payload.size() < kOverLongPayload) {
    payload.resize(kOverLongPayload, 0);
  }
  return BuildReplyFrame(payload);
}

void SpoilChecksum(TArrayByte& frame) {
  frame.back() = static_cast<std::uint8_t>(frame.back() + 1);
}

// The header announces the whole body; half of it comes, never the checksum.
void CutShort(TArrayByte& frame) {
  frame.resize(2 + frame[1] / 2);
}

}  // namespace

const char* MixedFaultName(MixedFault fault) {
  switch (fault) {
    case MixedFault::Silence:
      return "silence";
    case MixedFault::Late:
      return "late reply";
    case MixedFault::BadChecksum:
      return "bad checksum";
    case MixedFault::BadStart:
      return "bad start byte";
    case MixedFault::ShortReply:
      return "short reply";
    case MixedFault::OverLongLength:
      return "over-long length";
  }
  return "?";
}

// Raw engine output only, whose sequence the standard fixes.
std::optional<MixedFault> ReplyFaults::draw() {
  if (faults_.mixPercent == 0 || mixPaused_ || engine_() % 100 >= faults_.mixPercent) {
    return std::nullopt;
  }
  return static_cast<MixedFault>(engine_() % kMixedFaultKinds);
}

SpoiledReply ReplyFaults::apply(TArrayByte frame) {
  SpoiledReply spoiled{{}, faults_.delay, std::nullopt};
  if (faults_.silent) {
    return spoiled;
  }
  ++replies_;
  if (faults_.overLongLength) {
    frame = OverLong(frame);
  }
  if (faults_.badChecksumEvery != 0 && replies_ % faults_.badChecksumEvery == 0) {
    SpoilChecksum(frame);
  }
  if (faults_.badStart) {
    frame[0] = kWrongStart;
  }
  if (faults_.shortReply) {
    CutShort(frame);
  }
  spoiled.mixed = draw();
  if (spoiled.mixed) {
    switch (*spoiled.mixed) {
      case MixedFault::Silence:
        return spoiled;
      case MixedFault::Late: {
        const auto span = (kLateReplyMax - kLateReplyMin).count() + 1;
        spoiled.delay += kLateReplyMin + std::chrono::milliseconds(engine_() % span);
        break;
      }
      case MixedFault::BadChecksum:
        SpoilChecksum(frame);
        break;
      case MixedFault::BadStart:
        frame[0] = kWrongStart;
        break;
      case MixedFault::ShortReply:
        CutShort(frame);
        break;
      case MixedFault::OverLongLength:
        frame = OverLong(frame);
        break;
    }
  }
  spoiled.bytes = std::move(frame);
  return spoiled;
}

}  // namespace vesk::sim
