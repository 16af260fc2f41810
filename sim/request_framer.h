#pragma once

#include <vector>

#include "common/byte_array.h"

namespace vesk::sim {

// Cuts request frames (1D, length, body) out of the bytes as they arrive from the line.
// Bytes before a start byte are dropped; whether a frame's checksum holds is the board's
// business.
class RequestFramer {
 public:
  // Adds bytes and returns the frames they complete, in order.
  std::vector<TArrayByte> feed(const std::uint8_t* bytes, std::size_t count);
  // A frame has begun and not ended.
  bool pending() const { return !buffer_.empty(); }
  // Forgets a frame that stopped half-way, so the next start byte begins a new one.
  void reset() { buffer_.clear(); }

 private:
  TArrayByte buffer_;
};

}  // namespace vesk::sim
